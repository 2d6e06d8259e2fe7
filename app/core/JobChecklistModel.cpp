#include "JobChecklistModel.h"

#include <chrono>

namespace {

bool failedWith(const ChecklistSnapshot& snapshot, eStepProblem problem) {
    for (const ChecklistLine& line : snapshot.lines)
        if (line.state == eStepState::Failed && line.problem == problem)
            return true;
    return false;
}

} // namespace

eJobOutcome jobOutcome(const ChecklistSnapshot& snapshot) {
    switch (snapshot.line(eJobStep_Erase).state) {
    case eStepState::Done:
        return eJobOutcome::Erased;
    case eStepState::Skipped:
        return eJobOutcome::ErasedInTesting;
    case eStepState::Failed:
        return eJobOutcome::NotErased;
    case eStepState::Waiting:
    case eStepState::Running:
        break;
    }
    if (failedWith(snapshot, eStepProblem::Cancelled) || failedWith(snapshot, eStepProblem::ReturnedToHost))
        return eJobOutcome::Cancelled;
    if (failedWith(snapshot, eStepProblem::FolderRefused))
        return eJobOutcome::FolderRefused;
    if (failedWith(snapshot, eStepProblem::MatchFailed))
        return eJobOutcome::MatchFailed;
    if (snapshot.line(eJobStep_Match).state == eStepState::Done)
        return eJobOutcome::NotConfirmed;
    return eJobOutcome::Unfinished;
}

JobChecklistModel::JobChecklistModel(Clock& clock) : fClock(clock) {}

void JobChecklistModel::setChangeHandler(std::function<void()> handler) {
    std::lock_guard<std::mutex> guard(fLock);
    fChanged = std::move(handler);
}

ChecklistSnapshot JobChecklistModel::snapshot() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fState;
}

void JobChecklistModel::update(const std::function<void(ChecklistSnapshot&)>& change) {
    std::function<void()> changed;
    {
        std::lock_guard<std::mutex> guard(fLock);
        change(fState);
        changed = fChanged;
    }
    if (changed)
        changed();
}

void JobChecklistModel::setStepState(eJobStep step, eStepState state, eStepProblem problem) {
    if (step < 0 || step >= eJobStep_Count)
        return;
    update([&](ChecklistSnapshot& snapshot) {
        ChecklistLine& line = snapshot.lines[size_t(step)];
        line.state = state;
        line.problem = state == eStepState::Failed ? problem : eStepProblem::None;
        // A new run of the step counts afresh; a finished one keeps no count.
        line.done = 0;
        line.total = 0;
        line.secondsLeft.reset();
        fPaceStart[size_t(step)].reset();
    });
}

void JobChecklistModel::setStepProgress(eJobStep step, size_t done, size_t total) {
    if (step < 0 || step >= eJobStep_Count)
        return;
    const Clock::TimePoint now = fClock.now();
    update([&](ChecklistSnapshot& snapshot) {
        ChecklistLine& line = snapshot.lines[size_t(step)];
        line.done = done;
        line.total = total;
        std::optional<Clock::TimePoint>& start = fPaceStart[size_t(step)];
        size_t& startDone = fPaceStartDone[size_t(step)];
        // The pace is measured from the first report, so that what went before the first item
        // (the scanner's remote mode, the walk of the folders) does not count.
        if (!start || done < startDone) {
            start = now;
            startDone = done;
            line.secondsLeft.reset();
            return;
        }
        if (done == startDone || total < done)
            return;
        const double elapsed = std::chrono::duration<double>(now - *start).count();
        line.secondsLeft = elapsed / double(done - startDone) * double(total - done);
    });
}

void JobChecklistModel::photosListed(size_t photos, size_t undatedPhotos) {
    update([&](ChecklistSnapshot& snapshot) {
        snapshot.photosListed = photos;
        snapshot.undatedPhotos = undatedPhotos;
    });
}

void JobChecklistModel::scannerFound(const std::string& serialNumber, long scans) {
    update([&](ChecklistSnapshot& snapshot) {
        snapshot.scannerSerialNumber = serialNumber;
        snapshot.scansOnScanner = scans;
    });
}

void JobChecklistModel::scansDownloaded(size_t scans) {
    update([&](ChecklistSnapshot& snapshot) { snapshot.scansDownloaded = scans; });
}

void JobChecklistModel::photosMatched(const MatchedFigures& figures) {
    update([&](ChecklistSnapshot& snapshot) { snapshot.match = figures; });
}

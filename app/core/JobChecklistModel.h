// The job checklist: what the steps reported (JobProgress), kept for the main window's checklist and
// for the end-of-job notification. Plain C++; reported to from any thread, read as a snapshot.
#pragma once

#include "Clock.h"
#include "JobProgress.h"

#include <array>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

// One line of the checklist.
struct ChecklistLine {
    eStepState state = eStepState::Waiting;
    eStepProblem problem = eStepProblem::None;
    // How far the running step has come; total 0: no count known.
    size_t done = 0;
    size_t total = 0;
    // The time the rest should take at the pace so far; none until the pace is known.
    std::optional<double> secondsLeft;
};

struct ChecklistSnapshot {
    std::array<ChecklistLine, eJobStep_Count> lines;
    size_t photosListed = 0;
    size_t undatedPhotos = 0;
    std::string scannerSerialNumber;
    long scansOnScanner = 0;
    size_t scansDownloaded = 0;
    MatchedFigures match;

    const ChecklistLine& line(eJobStep step) const { return lines[size_t(step)]; }
};

// How a job ended, for the notification at its end.
enum class eJobOutcome {
    Erased,          // matched, confirmed and the scanner erased
    ErasedInTesting, // matched and confirmed; testing mode left the scanner as it was
    NotErased,       // matched and confirmed, but the erase failed
    NotConfirmed,    // matched; Vesk-X did not confirm before the end, the scanner was not erased
    Cancelled,       // the user cancelled (or went back to Vesk-X from the review)
    MatchFailed,
    FolderRefused,
    Unfinished, // the program was quit before the job ended
};

eJobOutcome jobOutcome(const ChecklistSnapshot& snapshot);

class JobChecklistModel : public JobProgress {
  public:
    explicit JobChecklistModel(Clock& clock = processClock());

    // Called after every change, on the thread that reported it, without the model's lock held.
    void setChangeHandler(std::function<void()> handler);
    ChecklistSnapshot snapshot() const;

    void setStepState(eJobStep step, eStepState state, eStepProblem problem = eStepProblem::None) override;
    void setStepProgress(eJobStep step, size_t done, size_t total) override;
    void photosListed(size_t photos, size_t undatedPhotos) override;
    void scannerFound(const std::string& serialNumber, long scans) override;
    void scansDownloaded(size_t scans) override;
    void photosMatched(const MatchedFigures& figures) override;

  private:
    // Runs change on the state under the lock, then tells the handler.
    void update(const std::function<void(ChecklistSnapshot&)>& change);

    Clock& fClock;
    mutable std::mutex fLock;
    ChecklistSnapshot fState;
    // Where the pace of each step's progress is measured from: the first report of its run.
    std::array<std::optional<Clock::TimePoint>, eJobStep_Count> fPaceStart;
    std::array<size_t, eJobStep_Count> fPaceStartDone{};
    std::function<void()> fChanged;
};

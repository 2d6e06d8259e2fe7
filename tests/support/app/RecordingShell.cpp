#include "RecordingShell.h"

namespace testsupport {

void RecordingShell::requestTerminate() {
    std::lock_guard<std::mutex> guard(fLock);
    ++fTerminateRequests;
}

void RecordingShell::bringToFront() {
    std::lock_guard<std::mutex> guard(fLock);
    ++fFrontRequests;
}

void RecordingShell::startSequencerTimer() {
    std::lock_guard<std::mutex> guard(fLock);
    fTimerStarted = true;
}

bool RecordingShell::installHostEventHandlers() {
    std::lock_guard<std::mutex> guard(fLock);
    return fHostEventsAvailable;
}

void RecordingShell::playSound(const std::string& name) {
    std::lock_guard<std::mutex> guard(fLock);
    fSounds.push_back(name);
}

int RecordingShell::terminateRequests() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fTerminateRequests;
}

int RecordingShell::frontRequests() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fFrontRequests;
}

bool RecordingShell::timerStarted() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fTimerStarted;
}

std::vector<std::string> RecordingShell::sounds() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fSounds;
}

void RecordingShell::setHostEventsAvailable(bool available) {
    std::lock_guard<std::mutex> guard(fLock);
    fHostEventsAvailable = available;
}

} // namespace testsupport

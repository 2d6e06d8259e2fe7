// The application object for a test: records what the job controller asked of it, from any
// thread; the sequencer's timer is never started (the test ticks by hand).
#pragma once

#include "ApplicationShell.h"

#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class RecordingShell : public ApplicationShell {
  public:
    void requestTerminate() override;
    void bringToFront() override;
    void startSequencerTimer() override;
    bool installHostEventHandlers() override;
    void playSound(const std::string& name) override;

    int terminateRequests() const;
    int frontRequests() const;
    bool timerStarted() const;
    // The sounds played, in order ("Blow", "Frog").
    std::vector<std::string> sounds() const;
    // Makes installHostEventHandlers fail, as without an event service.
    void setHostEventsAvailable(bool available);

  private:
    mutable std::mutex fLock;
    int fTerminateRequests = 0;
    int fFrontRequests = 0;
    bool fTimerStarted = false;
    bool fHostEventsAvailable = true;
    std::vector<std::string> fSounds;
};

} // namespace testsupport

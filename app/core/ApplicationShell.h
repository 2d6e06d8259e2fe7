// What the job controller needs from the platform's application object. The Qt shell implements
// it; tests install their own.
#pragma once

#include <string>

class ApplicationShell {
  public:
    virtual ~ApplicationShell() = default;
    // Asks for the orderly end of the program (quit question, then 'qend'). Any thread; the work
    // happens later on the user-interface thread.
    virtual void requestTerminate() = 0;
    // Brings the main window to the front. Any thread.
    virtual void bringToFront() = 0;
    // Starts the repeating half-second tick that calls doIdle on the user-interface thread.
    virtual void startSequencerTimer() = 0;
    // Makes the program reachable by host events; false when no event service is available.
    virtual bool installHostEventHandlers() = 0;
    // Plays a short named sound ("Blow", "Frog") without blocking the caller. Any thread.
    virtual void playSound(const std::string& name) = 0;
};

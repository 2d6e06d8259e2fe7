// What the platform tells the job about the host application's presence. The shell watches the
// host's bus name and reports here when it leaves; the controller decides what that means for the
// job (while it waits for the host's answer to 'ok01': the job ends and nothing is erased).
#pragma once

class HostPresence {
  public:
    virtual ~HostPresence() = default;
    // The host is gone (it quit, or crashed). User-interface thread.
    virtual void hostDidQuit() = 0;
};

// The scanner held in remote mode for a sequence of exchanges.
//
// Enter opens the port and runs the remote-mode handshake loop; as long as the session lives,
// the scanner answers commands. On every way out (Leave, or the end of the session's scope) the
// scanner is sent ESC, so that it goes back to the user's scanning mode, and the port is closed.
// A session that never reached remote mode only closes the port: no ESC is sent.
//
//     pdxRemoteModeSession session(device);
//     if (!session.Enter(pdxProDevice::kDownloadRemoteModeSeconds))
//         return false;                     // the port is closed
//     if (!device.GetSystemInfoCmd())
//         return false;                     // ESC, then the port is closed
//
// A caller with a retry loop of its own (the console self-test) opens the port itself and calls
// EnterOnce for each try. The session does not own the device; the device must outlive it.
#pragma once

class pdxProDevice;

class pdxRemoteModeSession {
  public:
    explicit pdxRemoteModeSession(pdxProDevice& device);
    ~pdxRemoteModeSession();

    pdxRemoteModeSession(const pdxRemoteModeSession&) = delete;
    pdxRemoteModeSession& operator=(const pdxRemoteModeSession&) = delete;

    // Opens the port and retries the handshake for up to seconds (EnterRemoteModeLoop). A
    // failed loop leaves the port closed, and Enter may be called again for a second loop.
    bool Enter(short seconds);
    // One handshake on a port the caller has opened (EnterRemoteMode), for loops of their own.
    bool EnterOnce();
    bool IsInRemoteMode() const { return fInRemoteMode; }

    // Sends ESC when in remote mode, then closes the port. Only the first call does anything
    // beyond closing an already closed port; the destructor calls it.
    void Leave();

    pdxProDevice& Device() { return fDevice; }

  private:
    pdxProDevice& fDevice;
    bool fInRemoteMode = false;
};

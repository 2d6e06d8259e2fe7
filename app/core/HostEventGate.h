// The one way out for host events: forwards to the transport and makes sure that 'qend' is the
// last event the host receives from this process, and that 'ok02' (the scanner is erased) never
// reaches the host before an 'ok01' (the job's matches are saved) has.
#pragma once

#include "HostEvents.h"

#include <atomic>
#include <mutex>

class HostEventGate : public HostEvents {
  public:
    explicit HostEventGate(HostEvents* transport) : fTransport(transport) {}
    // Sends the event; after 'qend' has gone out, every further event is dropped (debug log); an
    // 'ok02' before any 'ok01' is dropped and logged.
    bool sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) override;
    bool quitEndSent() const { return fQuitEndSent.load(); }

  private:
    HostEvents* fTransport;
    std::mutex fLock; // held across the send, so that nothing overtakes 'qend'
    std::atomic<bool> fQuitEndSent{false};
    bool fSuccessSent = false; // an 'ok01' has gone out (under fLock)
};

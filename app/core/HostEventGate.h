// The one way out for host events: forwards to the transport and makes sure that 'qend' is the
// last event the host receives from this process.
#pragma once

#include "HostEvents.h"

#include <atomic>
#include <mutex>

class HostEventGate : public HostEvents {
  public:
    explicit HostEventGate(HostEvents* transport) : fTransport(transport) {}
    // Sends the event; after 'qend' has gone out, every further event is dropped (debug log).
    bool sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) override;
    bool quitEndSent() const { return fQuitEndSent.load(); }

  private:
    HostEvents* fTransport;
    std::mutex fLock; // held across the send, so that nothing overtakes 'qend'
    std::atomic<bool> fQuitEndSent{false};
};

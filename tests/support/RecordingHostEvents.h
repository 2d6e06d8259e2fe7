// The host for a test: records every event sent to it, from any thread.
#pragma once

#include "HostEvents.h"

#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class RecordingHostEvents : public HostEvents {
  public:
    bool sendEvent(FourCharCode signature, FourCharCode eventClass, FourCharCode eventID) override;
    // One "QRWz barc ok01" per event, in order.
    std::vector<std::string> events() const;
    // How many events had this ID ("ok01").
    int count(const std::string& eventID) const;
    // Makes every later sendEvent fail, as when the host has gone.
    void setFailing(bool failing);

  private:
    mutable std::mutex fLock;
    std::vector<std::string> fEvents;
    bool fFailing = false;
};

} // namespace testsupport

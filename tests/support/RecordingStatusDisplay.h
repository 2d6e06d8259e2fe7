// The status line, busy indicator, scanner fields and port logo for a test: records what the
// job showed, from any thread.
#pragma once

#include "StatusDisplay.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

struct ScannerFields {
    std::string model;
    std::string serialNumber;
    std::string portPath;
};

class RecordingStatusDisplay : public StatusDisplay {
  public:
    void setStatusText(const std::string& text) override;
    void setBusy(bool busy) override;
    void setScannerFields(const std::string& model, const std::string& serialNumber,
                          const std::string& portPath) override;
    void setSerialPortImage(const std::string& imageName) override;

    // Every status text in order.
    std::vector<std::string> texts() const;
    bool busy() const;
    ScannerFields scannerFields() const;
    // The last logo shown; nothing when none was ever set.
    std::optional<std::string> serialPortImage() const;

  private:
    mutable std::mutex fLock;
    std::vector<std::string> fTexts;
    bool fBusy = false;
    ScannerFields fFields;
    std::optional<std::string> fImage;
};

} // namespace testsupport

#include "RecordingStatusDisplay.h"

namespace testsupport {

void RecordingStatusDisplay::setStatusText(const std::string& text) {
    std::lock_guard<std::mutex> guard(fLock);
    fTexts.push_back(text);
}

void RecordingStatusDisplay::setBusy(bool busy) {
    std::lock_guard<std::mutex> guard(fLock);
    fBusy = busy;
}

void RecordingStatusDisplay::setScannerFields(const std::string& model, const std::string& serialNumber,
                                              const std::string& portPath) {
    std::lock_guard<std::mutex> guard(fLock);
    fFields = {model, serialNumber, portPath};
}

void RecordingStatusDisplay::setSerialPortImage(const std::string& imageName) {
    std::lock_guard<std::mutex> guard(fLock);
    fImage = imageName;
}

std::vector<std::string> RecordingStatusDisplay::texts() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fTexts;
}

bool RecordingStatusDisplay::busy() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fBusy;
}

ScannerFields RecordingStatusDisplay::scannerFields() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fFields;
}

std::optional<std::string> RecordingStatusDisplay::serialPortImage() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fImage;
}

} // namespace testsupport

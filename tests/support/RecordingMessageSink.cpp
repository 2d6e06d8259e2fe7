#include "RecordingMessageSink.h"

namespace testsupport {

RecordingMessageSink::RecordingMessageSink() : fPrevious(defaultMessageSink()) {
    setDefaultMessageSink(this);
}

RecordingMessageSink::~RecordingMessageSink() {
    setDefaultMessageSink(fPrevious);
}

void RecordingMessageSink::outputError(std::string text) {
    std::lock_guard<std::mutex> guard(fLock);
    fText += text;
    fMessages.push_back(std::move(text));
    fArrived.notify_all();
}

std::string RecordingMessageSink::text() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fText;
}

std::vector<std::string> RecordingMessageSink::messages() const {
    std::lock_guard<std::mutex> guard(fLock);
    return fMessages;
}

bool RecordingMessageSink::contains(const std::string& part) const {
    std::lock_guard<std::mutex> guard(fLock);
    return fText.find(part) != std::string::npos;
}

int RecordingMessageSink::count(const std::string& part) const {
    if (part.empty())
        return 0;
    std::lock_guard<std::mutex> guard(fLock);
    int found = 0;
    for (size_t at = fText.find(part); at != std::string::npos; at = fText.find(part, at + part.size()))
        ++found;
    return found;
}

void RecordingMessageSink::clear() {
    std::lock_guard<std::mutex> guard(fLock);
    fText.clear();
    fMessages.clear();
}

bool RecordingMessageSink::waitFor(const std::string& part, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(fLock);
    return fArrived.wait_for(lock, timeout, [&] { return fText.find(part) != std::string::npos; });
}

} // namespace testsupport

// The message area for a test: while it lives it is the default message sink (the one it
// replaced comes back at its end) and records every text shown, from any thread.
#pragma once

#include "MessageLog.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class RecordingMessageSink : public MessageSink {
  public:
    RecordingMessageSink();
    ~RecordingMessageSink() override;
    RecordingMessageSink(const RecordingMessageSink&) = delete;
    RecordingMessageSink& operator=(const RecordingMessageSink&) = delete;

    void outputError(std::string text) override;

    // Everything shown, joined exactly as it arrived (the message area's bytes).
    std::string text() const;
    // Each text as one call delivered it.
    std::vector<std::string> messages() const;
    bool contains(const std::string& part) const;
    // How often part was shown (occurrences that do not overlap).
    int count(const std::string& part) const;
    void clear();
    // Waits until part has been shown; false once timeout has passed without it.
    bool waitFor(const std::string& part, std::chrono::milliseconds timeout = std::chrono::seconds(5));

  private:
    MessageSink* fPrevious;
    mutable std::mutex fLock;
    std::condition_variable fArrived;
    std::vector<std::string> fMessages;
    std::string fText;
};

} // namespace testsupport

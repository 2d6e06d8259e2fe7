// The message area's text: every message appended so far, bounded so that the view never has to
// hold more than the limit. Appended to from any thread.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

class MessageBuffer {
  public:
    static constexpr size_t kLimit = 51200;

    explicit MessageBuffer(size_t limit = kLimit) : fLimit(limit) {}

    // Appends message, first dropping the oldest text so that the result holds at most the limit;
    // a single message longer than the limit keeps its newest part.
    void append(const std::string& message);
    // A copy taken under the lock.
    std::string snapshot() const;

  private:
    size_t fLimit;
    mutable std::mutex fLock;
    std::string fText;
};

// The buffer's bytes as display text: UTF-8 when they are UTF-8 (ignoring a character cut in two
// by the trimming at the start), else decoded as Mac OS Roman; CR and CR LF become line feeds.
std::string messageAreaText(const std::string& bytes);

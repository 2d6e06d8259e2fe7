// A message area for tests: collects everything the code under test shows the user.
#pragma once

#include "MessageLog.h"

#include <mutex>
#include <string>

class RecordingSink : public MessageSink {
  public:
    void outputError(std::string text) override {
        std::lock_guard<std::mutex> guard(fLock);
        fReceived += text;
    }
    std::string received() {
        std::lock_guard<std::mutex> guard(fLock);
        return fReceived;
    }

  private:
    std::mutex fLock;
    std::string fReceived;
};

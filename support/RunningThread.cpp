#include "RunningThread.h"

#include <atomic>

namespace {
std::atomic<bool> gRunningThread{false};
}

bool tryAcquireRunningThread() {
    bool expected = false;
    return gRunningThread.compare_exchange_strong(expected, true);
}

void releaseRunningThread() {
    gRunningThread.store(false);
}

bool isRunningThread() {
    return gRunningThread.load();
}

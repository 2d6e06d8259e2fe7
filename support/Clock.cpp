#include "Clock.h"

#include <atomic>
#include <thread>

namespace {
SystemClock gSystemClock;
std::atomic<Clock*> gClock{&gSystemClock};
} // namespace

Clock::TimePoint SystemClock::now() { return std::chrono::steady_clock::now(); }

void SystemClock::sleepFor(Duration duration) { std::this_thread::sleep_for(duration); }

Clock& processClock() { return *gClock.load(); }

void setProcessClock(Clock* clock) { gClock.store(clock ? clock : &gSystemClock); }

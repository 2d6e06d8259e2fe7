#include "Clock.h"

#include <atomic>
#include <thread>

namespace {
SystemClock gSystemClock;
std::atomic<Clock*> gClock{&gSystemClock};
} // namespace

Clock::TimePoint SystemClock::now() {
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepFor(Duration duration) {
    std::this_thread::sleep_for(duration);
}

Clock& processClock() {
    return *gClock.load();
}

void setProcessClock(Clock* clock) {
    gClock.store(clock ? clock : &gSystemClock);
}

Deadline::Deadline(Clock::Duration length, Clock& clock)
    : fClock(clock), fLength(length), fEnd(clock.now() + length) {}

Clock::Duration Deadline::ticks(int count) {
    return std::chrono::duration_cast<Clock::Duration>(std::chrono::duration<double>(count / 60.0));
}

bool Deadline::expired() const {
    return fClock.now() >= fEnd;
}

Clock::Duration Deadline::remaining() const {
    const Clock::Duration left = fEnd - fClock.now();
    return left > Clock::Duration::zero() ? left : Clock::Duration::zero();
}

void Deadline::restart() {
    fEnd = fClock.now() + fLength;
}

// Monotonic time and pauses, behind an interface so that protocol tests run faster than real time.
#pragma once

#include <chrono>

class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
    virtual void sleepFor(Duration duration) = 0;
};

// The real monotonic clock.
class SystemClock : public Clock {
public:
    TimePoint now() override;
    void sleepFor(Duration duration) override;
};

// The process-wide clock; the system clock unless a test installs another.
Clock& processClock();
void setProcessClock(Clock* clock);

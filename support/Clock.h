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

// A time limit that starts when it is made, on the process clock unless another is given: the
// one way the program waits with a limit. A loop asks expired() after each try; remaining() says
// how long is left (zero once expired); restart() starts the same length again from now.
class Deadline {
  public:
    explicit Deadline(Clock::Duration length, Clock& clock = processClock());

    // Sixtieths of a second, the unit in which the scanner's time limits are given.
    static Clock::Duration ticks(int count);

    bool expired() const;
    Clock::Duration remaining() const;
    void restart();

  private:
    Clock& fClock;
    Clock::Duration fLength;
    Clock::TimePoint fEnd;
};

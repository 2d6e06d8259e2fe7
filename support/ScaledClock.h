// A monotonic clock that runs a fixed factor faster than real time, for tests of code whose
// pauses and deadlines would otherwise take minutes. Both now() and sleepFor() are scaled, so
// deadlines computed from now() and pauses taken with sleepFor() keep their proportions, while
// real waits outside the clock (a read's own time-out) stay real.
#pragma once

#include "Clock.h"

#include <chrono>
#include <thread>

class ScaledClock : public Clock {
  public:
    explicit ScaledClock(double factor) : fFactor(factor), fStart(std::chrono::steady_clock::now()) {}

    TimePoint now() override {
        auto real = std::chrono::steady_clock::now() - fStart;
        return fStart + std::chrono::duration_cast<Duration>(std::chrono::duration<double, Duration::period>(
                            static_cast<double>(real.count()) * fFactor));
    }

    void sleepFor(Duration duration) override {
        std::this_thread::sleep_for(
            std::chrono::duration_cast<Duration>(std::chrono::duration<double, Duration::period>(
                static_cast<double>(duration.count()) / fFactor)));
    }

  private:
    double fFactor;
    TimePoint fStart;
};

// Installs a clock as the process clock for the lifetime of this object.
class ScopedProcessClock {
  public:
    explicit ScopedProcessClock(Clock& clock) { setProcessClock(&clock); }
    ~ScopedProcessClock() { setProcessClock(nullptr); }
    ScopedProcessClock(const ScopedProcessClock&) = delete;
    ScopedProcessClock& operator=(const ScopedProcessClock&) = delete;
};

// The one deadline helper: expiry at its end and not before, the time left, a restart, the
// scanner's sixtieth-of-a-second unit, and the process clock that tests speed up.
#include "Clock.h"
#include "ScaledClock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// A clock that moves only when the test moves it.
class SteppedClock : public Clock {
  public:
    TimePoint now() override { return fNow; }
    void sleepFor(Duration duration) override { fNow += duration; }

  private:
    TimePoint fNow{seconds(1000)};
};

} // namespace

TEST(Deadline, ExpiresAtItsEndAndNotBefore) {
    SteppedClock clock;
    const Deadline deadline(seconds(2), clock);
    EXPECT_FALSE(deadline.expired());
    EXPECT_EQ(deadline.remaining(), seconds(2));
    clock.sleepFor(seconds(2) - milliseconds(1));
    EXPECT_FALSE(deadline.expired());
    EXPECT_EQ(deadline.remaining(), milliseconds(1));
    clock.sleepFor(milliseconds(1));
    EXPECT_TRUE(deadline.expired());
    EXPECT_EQ(deadline.remaining(), Clock::Duration::zero());
    clock.sleepFor(seconds(5));
    EXPECT_EQ(deadline.remaining(), Clock::Duration::zero()) << "never negative";
}

TEST(Deadline, ARestartCountsTheSameLengthFromNow) {
    SteppedClock clock;
    Deadline reopen(seconds(15), clock);
    clock.sleepFor(seconds(20));
    ASSERT_TRUE(reopen.expired());
    reopen.restart();
    EXPECT_FALSE(reopen.expired());
    EXPECT_EQ(reopen.remaining(), seconds(15));
}

TEST(Deadline, AZeroLengthHasExpiredAtOnce) {
    SteppedClock clock;
    EXPECT_TRUE(Deadline(Clock::Duration::zero(), clock).expired());
}

TEST(Deadline, TicksAreSixtiethsOfASecond) {
    EXPECT_EQ(Deadline::ticks(0), Clock::Duration::zero());
    EXPECT_EQ(Deadline::ticks(60), seconds(1));
    EXPECT_EQ(Deadline::ticks(120), seconds(2));
    EXPECT_EQ(Deadline::ticks(900), seconds(15));
    EXPECT_EQ(Deadline::ticks(7200), seconds(120));
    EXPECT_NEAR(std::chrono::duration<double>(Deadline::ticks(1)).count(), 1.0 / 60.0, 1e-9);
}

TEST(Deadline, FollowsTheProcessClockThatATestInstalls) {
    ScaledClock fast(100.0);
    ScopedProcessClock install(fast);
    const Deadline deadline(seconds(20));
    EXPECT_FALSE(deadline.expired());
    // 20 seconds of the program's clock pass in 200 real milliseconds.
    std::this_thread::sleep_for(milliseconds(400));
    EXPECT_TRUE(deadline.expired());
}

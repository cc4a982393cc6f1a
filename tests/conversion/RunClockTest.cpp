// The run's one clock: the elapsed time the progress window shows leaves
// out the pauses, also one that began before the walk did.
#include "conversion/RunClock.h"

#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

TEST(RunClock, ElapsedLeavesOutPausesAndStartsWithTheWalk)
{
    RunClock clock;
    clock.start();
    EXPECT_EQ(clock.elapsedMs(), -1);

    // Paused during the run's preparations, still paused when the walk
    // begins: none of it is elapsed time.
    ASSERT_TRUE(clock.pause());
    EXPECT_FALSE(clock.pause());
    std::this_thread::sleep_for(150ms);
    clock.beginElapsed();
    std::this_thread::sleep_for(150ms);
    EXPECT_LT(clock.elapsedMs(), 60);
    ASSERT_TRUE(clock.resume());
    EXPECT_FALSE(clock.resume());

    std::this_thread::sleep_for(200ms);
    const int64_t elapsed = clock.elapsedMs();
    EXPECT_GE(elapsed, 190);
    EXPECT_LT(elapsed, 190 + 150);
    EXPECT_GE(clock.pausedMs(), 290);

    // The abort's grace time.
    EXPECT_FALSE(clock.abortDeadlinePassed());
    clock.setAbortDeadline(0);
    EXPECT_TRUE(clock.abortDeadlinePassed());
    clock.start();
    EXPECT_FALSE(clock.abortDeadlinePassed());
    EXPECT_EQ(clock.elapsedMs(), -1);
    EXPECT_EQ(clock.pausedMs(), 0);
}

#include "foundation/clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace mrw {
namespace {

using namespace std::chrono_literals;

TEST(SteadyClockSeam, ManualSleepsMoveTimeToTheirDeadlineAndAreRecorded) {
    SteadyClockForTests clock;
    const SteadyTime start = SteadyClockForTests::steadyEpochForTests();
    EXPECT_EQ(gf_steadyNow(), start);

    gf_sleepMs(100);
    EXPECT_EQ(gf_steadyNow(), start + 100ms);
    gf_sleepFor(1ms);
    EXPECT_EQ(gf_steadyNow(), start + 101ms);
    clock.advance(9ms);
    EXPECT_EQ(clock.now(), start + 110ms);
    gf_sleepUntil(start + 120ms);
    EXPECT_EQ(gf_steadyNow(), start + 120ms);
    gf_sleepUntil(start + 115ms);  // a past deadline: time stays
    EXPECT_EQ(gf_steadyNow(), start + 120ms);

    const std::vector<SteadyDuration> expected = {100ms, 1ms, 10ms, -5ms};
    EXPECT_EQ(clock.waits(), expected);
    EXPECT_EQ(clock.waitCount(1ms), 1u);
    clock.clearWaits();
    EXPECT_TRUE(clock.waits().empty());
}

TEST(SteadyClockSeam, NothingToWaitIsNotRecordedAndNegativeStepsAreIgnored) {
    SteadyClockForTests clock;
    const SteadyTime start = clock.now();
    for (std::int64_t ms : {0, -1, -100})
        gf_sleepMs(ms);
    gf_sleepFor(-3ms);
    clock.advance(-1s);
    EXPECT_EQ(clock.now(), start);
    EXPECT_TRUE(clock.waits().empty());
}

TEST(SteadyClockSeam, SleepHookSeesEachManualSleepAndMayUseTheSeam) {
    SteadyClockForTests clock;
    std::vector<std::pair<SteadyTime, SteadyTime>> seen;
    clock.setSleepHook([&](SteadyTime from, SteadyTime to) {
        seen.emplace_back(from, to);
        if (seen.size() == 1) clock.advance(5ms);  // a hook may step time itself
    });
    const SteadyTime start = clock.now();
    gf_sleepMs(10);
    gf_sleepMs(10);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(start, start + 10ms));
    EXPECT_EQ(seen[1], std::make_pair(start + 15ms, start + 25ms));
}

TEST(SteadyClockSeam, RealModeSleepsTheRealTimeAndRecordsWhatWasAsked) {
    SteadyClockForTests recorder(SteadyClockForTests::Mode::Real);
    const auto before = std::chrono::steady_clock::now();
    gf_sleepMs(2);
    EXPECT_GE(std::chrono::steady_clock::now() - before, 2ms);
    EXPECT_GE(gf_steadyNow(), before + 2ms);
    EXPECT_EQ(recorder.waitCount(2ms), 1u);
}

TEST(SteadyClockSeam, WaitsOfOtherThreadsAreRecordedAndTheComputerClockComesBack) {
    {
        SteadyClockForTests clock;
        std::thread other([] {
            for (int i = 0; i < 50; ++i)
                gf_sleepMs(1);
        });
        for (int i = 0; i < 50; ++i)
            gf_sleepMs(100);
        other.join();
        EXPECT_EQ(clock.waitCount(1ms), 50u);
        EXPECT_EQ(clock.waitCount(100ms), 50u);
    }
    // Without a test clock, now is the computer's steady clock again.
    const auto real = std::chrono::steady_clock::now();
    EXPECT_GE(gf_steadyNow(), real);
    EXPECT_LT(gf_steadyNow() - real, 1h);
}

}  // namespace
}  // namespace mrw

#include <gtest/gtest.h>

#include <cmath>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"

namespace mrw {
namespace {

using test::gf_activeAircraft;
using test::gf_sample;
using test::gf_sampleAt;

class SampleStream : public ::testing::Test {
  protected:
    void SetUp() override { test::gf_resetMotionState(now); }
    const std::int32_t now = 100000;
};

TEST_F(SampleStream, ARunOutStreamRemovesTheAircraftWhenTheCountdownEnds) {
    const struct {
        std::int32_t streamEndState;
        bool lightAllowed;
        bool removed;
        std::int32_t stateAfter;
    } cases[] = {{-1, true, true, -1},
                 {1, true, true, -1},
                 {0, false, true, 0},
                 {0, true, false, 8},
                 {3, true, false, 2}};
    for (const auto& c : cases) {
        test::gf_resetMotionState(now);
        g_parameters().LIGHT_AIRCRAFT.current = c.lightAllowed;
        LiveAc ac = gf_activeAircraft(AcCategory::Light, 50, 8, 3000);
        ac.samples.push_back(gf_sample(50, 8, now, 120, 3000));
        ac.streamEndState = c.streamEndState;
        ac.nextPosMain();
        EXPECT_EQ(ac.simState == SimState::RemovingFromSim, c.removed) << c.streamEndState;
        EXPECT_EQ(g_removeQueue.size(), c.removed ? 1U : 0U);
        EXPECT_EQ(ac.streamEndState, c.stateAfter);
    }
}

TEST_F(SampleStream, AnAirborneFixedWingSkipsStationarySamplesARotorcraftKeepsThem) {
    for (const AcCategory category : {AcCategory::Large, AcCategory::Rotorcraft}) {
        LiveAc ac = gf_activeAircraft(category, 50, 8, 3000);
        const PositionSample s0 = gf_sample(50, 8, now, 120, 3000);
        PositionSample hover = gf_sample(50, 8, now + 800, 0, 3000);
        hover.stationary = true;
        const PositionSample s2 = gf_sampleAt(s0, 90, 500, now + 1500, 120, 3000);
        ac.samples = {s0, hover, s2};
        ac.nextPosMain();
        if (category == AcCategory::Rotorcraft) {
            ASSERT_EQ(ac.samples.size(), 2U);
            EXPECT_TRUE(ac.samples.front().stationary);
        } else {
            ASSERT_EQ(ac.samples.size(), 1U);
            EXPECT_DOUBLE_EQ(ac.samples.front().lon, s2.lon);
            EXPECT_GT(ac.lonStep, 0);
        }
    }
}

TEST_F(SampleStream, APastDueTargetIsFlownInTwentyFiveTicksNeverFewer) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8, 3000);
    const PositionSample s0 = gf_sample(50, 8, now - 200, 100, 3000);
    const PositionSample s1 = gf_sampleAt(s0, 0, 10, now - 100, 100, 3000);
    ac.samples = {s0, s1};
    ac.nextPosMain();
    EXPECT_NEAR(ac.latStep, (s1.lat - 50) / 25, 1e-15);
}

TEST_F(SampleStream, ALegIsNeverFlownFasterThanItsSamplesAllow) {
    // The late limit leaves 900 ticks for 5 km at 100 kt: the leg takes what 125 kt need.
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8, 3000);
    const PositionSample s0 = gf_sample(50, 8, now - 200, 100, 3000);
    const PositionSample s1 = gf_sampleAt(s0, 0, 5000, now - 100, 100, 3000);
    ac.samples = {s0, s1};
    ac.nextPosMain();
    const double nm = 5000 / kMetresPerNm;
    const std::int32_t ticks = static_cast<std::int32_t>(std::ceil(nm * kTicksPerHour / 125));
    EXPECT_EQ(ac.samples.front().dueTick, now + ticks);
    const double perTickNm = gf_distanceNm({50, 8}, {50 + ac.latStep, 8 + ac.lonStep});
    EXPECT_LE(perTickNm, 125.0 / kTicksPerHour * 1.0001);
}

TEST_F(SampleStream, The201stQueuedSampleRemovesTheAircraft) {
    for (const std::size_t queued : {200U, 201U}) {
        test::gf_resetMotionState(now);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8, 3000);
        for (std::size_t i = 0; i < queued; ++i) {
            ac.samples.push_back(gf_sample(50 + 0.01 * static_cast<double>(i), 8,
                                           now + static_cast<std::int32_t>(i) * 100, 200, 3000));
        }
        PositionSample next = gf_sample(53, 8, now + 30000, 200, 3000);
        ac.decodeExisting(next);
        EXPECT_EQ(ac.simState == SimState::RemovingFromSim, queued == 201U) << queued;
        EXPECT_EQ(ac.samples.size(), 201U);  // appended, or removed with its stream as it was
    }
}

TEST_F(SampleStream, TwoStationarySamplesLeftMakeTheFrontDueNextTick) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    PositionSample s0 = gf_sample(50, 8, now + 500, 0);
    s0.stationary = true;
    ac.samples = {s0};
    PositionSample same = gf_sample(50, 8, now + 900, 3);
    ac.decodeExisting(same);
    ASSERT_EQ(ac.samples.size(), 2U);
    EXPECT_TRUE(ac.samples[1].stationary);
    EXPECT_EQ(ac.samples[1].groundSpeedKt, 0);
    EXPECT_EQ(ac.samples[0].dueTick, now + 1);
}

TEST_F(SampleStream, AHoldingAircraftWhoseSampleJumpsIsRemoved) {
    for (const double metres : {200.0, 300.0}) {
        test::gf_resetMotionState(now);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        const PositionSample s0 = gf_sample(50, 8, now, 0);
        ac.samples = {s0};
        ac.holding = true;
        ac.holdStartTick = now - 100;
        PositionSample farSample = gf_sampleAt(s0, 0, metres, now + 3000, 10);
        ac.decodeExisting(farSample);
        const bool removed = metres > 250;
        EXPECT_EQ(ac.simState == SimState::RemovingFromSim, removed) << metres;
        EXPECT_EQ(ac.holding, !removed);
    }
}

TEST_F(SampleStream, ATouchAndGoRollsIntoATakeOffWithoutChangingThePreviousPhase) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::Flying;
    ac.previousPhase = FlightPhase::Taxi;
    ac.landingRoll = true;
    const PositionSample s0 = gf_sample(50, 8, now, 120, 200);
    ac.samples = {s0};
    PositionSample climbing = gf_sampleAt(s0, 0, 600, now + 500, 130, 400, 1500);
    ASSERT_TRUE(ac.checkNewPosDuringLanding(climbing));  // straight ahead: taken
    ac.decodeExisting(climbing);
    EXPECT_EQ(ac.phase, FlightPhase::Taxi);
    EXPECT_EQ(ac.previousPhase, FlightPhase::Taxi);
    EXPECT_TRUE(ac.takeOffRoll);
    EXPECT_EQ(ac.lateLimit, 5000);
    EXPECT_EQ(ac.earlyLimit, 3000);
    EXPECT_EQ(ac.throttleIndex, 3);
    EXPECT_EQ(ac.samples.size(), 2U);
}

TEST_F(SampleStream, AMovingSampleAfterAStopCutsTheStopsThatFollowedTheLastMove) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    const PositionSample s0 = gf_sample(50, 8, now, 10);
    const PositionSample s1 = gf_sampleAt(s0, 0, 100, now + 600, 10);
    PositionSample stop = s1;
    stop.dueTick = now + 1200;
    stop.groundSpeedKt = 0;
    stop.stationary = true;
    ac.samples = {s0, s1, stop};
    PositionSample onwards = gf_sampleAt(s1, 0, 100, now + 1800, 10);
    ac.decodeExisting(onwards);
    ASSERT_EQ(ac.samples.size(), 3U);
    EXPECT_FALSE(ac.samples[1].stationary);
    EXPECT_DOUBLE_EQ(ac.samples[2].lat, onwards.lat);
}

}  // namespace
}  // namespace mrw

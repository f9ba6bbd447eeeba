#include <gtest/gtest.h>

#include "traffic/model/engine_containers.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"

namespace mrw {
namespace {

using test::gf_activeAircraft;
using test::gf_sample;
using test::gf_sampleAt;

class LiveryRespawn : public ::testing::Test {
  protected:
    void SetUp() override { test::gf_resetMotionState(now); }
    const std::int32_t now = 100000;
};

TEST_F(LiveryRespawn, AParkedAircraftRespawnsAtItsStand) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::Parked;
    ac.simPosition.heading = kPi / 2;
    ac.samples = {gf_sample(50, 8, now + 500), gf_sample(50.001, 8, now + 900, 5)};
    g_selectedObjectId = ac.objectId;
    ac.liveryRespawn();
    ASSERT_EQ(ac.samples.size(), 2U);
    EXPECT_EQ(ac.samples[0].dueTick, now + 1);
    EXPECT_TRUE(ac.samples[0].stationary);
    EXPECT_TRUE(ac.samples[1].stationary);
    EXPECT_DOUBLE_EQ(ac.samples[1].trackDeg, 90);
    EXPECT_EQ(ac.simState, SimState::LiveryRespawn);
    EXPECT_EQ(ac.respawnHeading, kPi / 2);
    EXPECT_EQ(g_removeQueue, std::deque<std::uint32_t>{ac.objectId});
    EXPECT_EQ(g_selectedObjectId, 0U);
}

TEST_F(LiveryRespawn, AMovingAircraftRespawnsWhereTheSimulatorShowsIt) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50.01, 8.02, 4000);
    ac.simPosition.bank = 0.2;
    ac.samples = {gf_sample(50.03, 8.02, now + 500, 200, 4200)};
    ac.liveryRespawn();
    ASSERT_EQ(ac.samples.size(), 2U);
    EXPECT_DOUBLE_EQ(ac.samples[0].lat, 50.01);
    EXPECT_DOUBLE_EQ(ac.samples[0].altitudeFt, 4000);
    EXPECT_EQ(ac.samples[0].rollRad, 0.2);
    EXPECT_FALSE(ac.samples[1].stationary);
}

TEST_F(LiveryRespawn, WithoutAnObjectTheRecordIsBufferedAgainAtOnce) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.objectId = 0;
    ac.throttleIndex = 2;
    ac.samples = {gf_sample(50, 8, now + 500, 10)};
    ac.liveryRespawn();
    EXPECT_EQ(ac.simState, SimState::Buffer);
    EXPECT_EQ(ac.throttleIndex, 5);
    EXPECT_EQ(ac.flapsIndex, 4);
    EXPECT_TRUE(g_removeQueue.empty());
    EXPECT_EQ(ac.samples.size(), 2U);
}

TEST_F(LiveryRespawn, AnEmptyStreamIsNoRespawn) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.liveryRespawn();
    EXPECT_EQ(ac.simState, SimState::Active);
    EXPECT_TRUE(ac.samples.empty());
    EXPECT_TRUE(g_removeQueue.empty());
}

TEST_F(LiveryRespawn, TheUserPathRuleRemovesOnlyAircraftMovingAwayAlongTheUsersLine) {
    g_userAcData.latitude = 50;
    g_userAcData.longitude = 8;
    g_userAcData.altitudeFt = 5000;
    const PositionSample user = gf_sample(50, 8, 0);
    const struct {
        int kind;
        double bearingDeg, metres, headingDeg, altitudeFt;
        bool removed;
    } cases[] = {
        {0, 0, 4 * kMetresPerNm - 1, 0, 5000, true},  // just within 4 nm, straight ahead moving away
        {0, 0, 4 * kMetresPerNm + 5, 0, 5000, false},
        {1, 0, 5.9 * kMetresPerNm, 0, 5000, true},
        {0, 0, 2000, 180, 5000, false},  // heading towards the user, however close
        {0, 0, 2000, 90, 5000, false},   // crossing: not moving away
        {0, 0, 2000, 0, 6000, false},    // exactly 1000 ft apart fails
        {0, 0, 2000, 0, 5999, true},
        {0, 0, 2000, 5, 5000, true},    // the user 572 ft off its track line
        {0, 0, 2000, 10, 5000, false},  // 1140 ft off
    };
    for (const auto& c : cases) {
        test::gf_resetMotionState(now);
        g_userAcData.latitude = 50;
        g_userAcData.longitude = 8;
        g_userAcData.altitudeFt = 5000;
        const PositionSample at = gf_sampleAt(user, c.bearingDeg, c.metres, 0);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, at.lat, at.lon, c.altitudeFt);
        ac.simPosition.heading = c.headingDeg * kRadPerDeg;
        EXPECT_EQ(ac.removeIfInUserPath(c.kind), c.removed) << c.metres << " " << c.headingDeg;
        EXPECT_EQ(ac.simState == SimState::RemovingFromSim, c.removed);
    }
}

}  // namespace
}  // namespace mrw

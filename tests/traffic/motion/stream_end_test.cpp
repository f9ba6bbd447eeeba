#include <gtest/gtest.h>

#include <cmath>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"
#include "traffic/parking/static_parking.h"

namespace mrw {
namespace {

using test::gf_activeAircraft;
using test::gf_sample;
using test::gf_sampleAt;

class StreamEnd : public ::testing::Test {
  protected:
    void SetUp() override { test::gf_resetMotionState(now); }
    const std::int32_t now = 100000;
};

TEST_F(StreamEnd, AHeldAircraftGoesWhenItsHoldingTimeHasPassed) {
    const struct {
        int minutes;
        bool airborneOnly;
        bool kept;
    } cases[] = {{20, false, true}, {21, false, false}, {5, true, false}};
    for (const auto& c : cases) {
        test::gf_resetMotionState(now);
        g_parameters().AIRBORNE_ONLY.current = c.airborneOnly;
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        ac.samples = {gf_sample(50, 8, now, 5)};
        ASSERT_TRUE(ac.onStreamEnd());  // the first run-out starts the hold
        EXPECT_TRUE(ac.holding);
        EXPECT_EQ(ac.holdStartTick, now);
        EXPECT_TRUE(ac.samples.back().stationary);
        EXPECT_EQ(ac.samples.back().dueTick, now + 300);
        ac.samples.pop_front();
        g_engineTick = now + c.minutes * 6000 + 5999;
        EXPECT_EQ(ac.onStreamEnd(), c.kept) << c.minutes;
    }
}

TEST_F(StreamEnd, AHoldingAircraftInAnotherTaxiingAircraftsWayIsRemoved) {
    g_liveAcs.push_back(gf_activeAircraft(AcCategory::Large, 50, 8));
    LiveAc& other = g_liveAcs.back();
    other.objectId = 99;
    const PositionSample at = gf_sampleAt(gf_sample(50, 8, 0), 90, 40, 0);  // 40 m < 1.2 x 35.8 m
    LiveAc ac = gf_activeAircraft(AcCategory::Large, at.lat, at.lon);
    ac.samples = {gf_sample(at.lat, at.lon, now, 5)};
    EXPECT_FALSE(ac.onStreamEnd());
    other.simPosition.lon -= 0.001;  // 110 m away
    EXPECT_TRUE(ac.onStreamEnd());
}

TEST_F(StreamEnd, AnAircraftInTheAirFliesOnUnlessOutOfRangeOrNearTheField) {
    test::gf_setKlaxParkAirport();
    const struct {
        double userLat;  // 0: user position unknown
        double altitudeFt;
        bool airborneOnly;
        bool goesOn;
    } cases[] = {
        {0, 3000, false, true},
        {33.9425 + 39.5 / 60, 3000, false, false},  // the aircraft 0.5 nm inside the 40 nm range
        {33.9425 + 39.4 / 60, 3000, false, true},
        {33.9425, 1100, true, false},  // within 1000 ft of the field elevation
        {33.9425, 1200, true, true},
    };
    for (const auto& c : cases) {
        test::gf_resetMotionState(now);
        test::gf_setKlaxParkAirport();
        g_parameters().AIRBORNE_ONLY.current = c.airborneOnly;
        g_userAcData.latitude = c.userLat;
        g_userAcData.longitude = c.userLat == 0 ? 0 : test::kKlaxLon;
        LiveAc ac = gf_activeAircraft(AcCategory::Large, test::kKlaxLat, test::kKlaxLon, c.altitudeFt);
        ac.samples = {gf_sample(test::kKlaxLat, test::kKlaxLon, now, 200, c.altitudeFt)};
        EXPECT_EQ(ac.onStreamEnd(), c.goesOn) << c.userLat << " " << c.altitudeFt;
        if (c.goesOn) {
            EXPECT_EQ(ac.streamEndState, 8);
            EXPECT_EQ(ac.samples.back().dueTick, now + 800);
        }
    }
}

TEST_F(StreamEnd, AnApproachingAircraftKeepsItsSpeedOnTheFirstExtrapolatedSamples) {
    const struct {
        std::int32_t count;
        bool approaching;
        double wantKt;
    } cases[] = {{7, true, 180}, {4, true, 180}, {3, true, 200}, {7, false, 190}};
    for (const auto& c : cases) {
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8, 3000);
        ac.approaching = c.approaching;
        ac.samples = {gf_sample(50, 8, now, 200, 3000)};
        ac.extrapolateSample(c.count);
        const PositionSample& s = ac.samples.back();
        EXPECT_DOUBLE_EQ(s.groundSpeedKt, c.wantKt) << c.count;
        EXPECT_NEAR(gf_distanceNm({50, 8}, gf_lalo(s)), c.wantKt * 8 / 3600, 1e-6);
        EXPECT_DOUBLE_EQ(s.altitudeFt, c.approaching ? 3000 - 80.04 : 3000);
    }
}

TEST_F(StreamEnd, AParkedAircraftKeepsItsStandOccupiedAWeekAhead) {
    const std::int32_t stand = test::gf_addParkStand(50, 8, 0, 30);
    g_parkStands[0].occupied = true;
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::Parked;
    ac.standNumber = stand;
    ac.parkedTimeExempt = true;
    ac.samples = {gf_sample(50, 8, now)};
    ASSERT_TRUE(ac.onStreamEnd());
    EXPECT_EQ(ac.streamEndState, 1);
    EXPECT_EQ(ac.samples.back().dueTick, now + 60480000);
    EXPECT_TRUE(ac.samples.back().stationary);
    EXPECT_FALSE(ac.parkedTimeExempt);
    EXPECT_TRUE(g_parkStands[0].occupied);
}

TEST_F(StreamEnd, LeavingSoonAfterLandingIsAQuickTurnaround) {
    const struct {
        AcCategory category;
        std::int32_t parkedTicks;
        bool quick;
    } cases[] = {{AcCategory::Large, 149999, true},
                 {AcCategory::Large, 150000, false},
                 {AcCategory::Heavy, 300000, true},
                 {AcCategory::Heavy, 400000, false},
                 {AcCategory::Light, 1000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.category) << ", " << c.parkedTicks);
        test::gf_resetMotionState(now);
        const std::int32_t stand = test::gf_addParkStand(50, 8, 0, 30);
        LiveAc ac = gf_activeAircraft(c.category, 50, 8);
        ac.phase = FlightPhase::Parked;
        ac.previousPhase = FlightPhase::Parking;
        ac.standNumber = stand;
        ac.landed = true;
        ac.streamEndState = 1;
        ac.samples = {gf_sample(50, 8, now - c.parkedTicks + 60480000)};
        PositionSample away = gf_sampleAt(ac.samples.front(), 180, 60, now + 3000, 5);
        ac.prepareDeparture(away);
        EXPECT_EQ(ac.quickTurnaround, c.quick);
        EXPECT_FALSE(ac.landed);
        EXPECT_EQ(ac.samples.front().dueTick, now + 1);
    }
}

TEST_F(StreamEnd, RollsExtrapolateAtTheTablesSpeeds) {
    const struct {
        bool landing;
        double g;
        double wantKt;
    } cases[] = {{true, 150, 100}, {true, 100, 80},   {true, 59, 20},
                 {false, 30, 40},  {false, 150, 170}, {false, 200, 180}};
    for (const auto& c : cases) {
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        ac.landingRoll = c.landing;
        ac.takeOffRoll = !c.landing;
        ac.samples = {gf_sample(50, 8, now, c.g)};
        ac.extrapolateSample(10);
        EXPECT_DOUBLE_EQ(ac.samples.back().groundSpeedKt, c.wantKt) << c.g;
        EXPECT_EQ(ac.samples.back().dueTick, now + 300);
    }
}

TEST_F(StreamEnd, APushedBackAircraftTaxiesOnlyOnceItsSamplesLeadAway) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);  // half span 17.9 m
    ac.phase = FlightPhase::PushedBack;
    ac.pushbackLastDistance = 900;
    ac.standNumber = 3;
    ac.samples = {gf_sample(50, 8, now)};
    const PositionSample here = gf_sample(50, 8, 0);
    PositionSample first = gf_sampleAt(here, 0, 3 * 17.9, now + 500, 2);
    EXPECT_FALSE(ac.checkExtendingSituations(first));  // beyond 2.75 half spans, but the first
    EXPECT_TRUE(ac.holding);
    PositionSample creep = gf_sampleAt(here, 0, 2.9 * 17.9, now + 1000, 2);
    EXPECT_FALSE(ac.checkExtendingSituations(creep));  // not farther than the one before
    PositionSample onwards = gf_sampleAt(here, 0, 3.5 * 17.9, now + 1500, 4);
    EXPECT_TRUE(ac.checkExtendingSituations(onwards));
    EXPECT_EQ(ac.phase, FlightPhase::Taxi);
    EXPECT_FALSE(ac.holding);
    EXPECT_EQ(ac.standNumber, 0);
    ac.phase = FlightPhase::PushedBack;
    ac.pushbackLastDistance = 900;
    PositionSample farSample = gf_sampleAt(here, 0, 6.2 * 17.9, now + 1500, 4);
    EXPECT_TRUE(ac.checkExtendingSituations(farSample));
}

TEST_F(StreamEnd, GroundNoiseIsSnappedOrDropped) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    const PositionSample last = gf_sample(50, 8, now + 400, 3);
    ac.samples = {last};
    PositionSample nearSample = gf_sampleAt(last, 0, 16, now + 900, 4);  // 16 m: within 0.00015 degrees
    EXPECT_TRUE(ac.acceptGroundSample(nearSample));
    EXPECT_TRUE(nearSample.stationary);
    EXPECT_EQ(nearSample.groundSpeedKt, 0);
    EXPECT_EQ(nearSample.dueTick, last.dueTick);
    PositionSample airborneHere = gf_sample(50, 8, now + 900, 0, 100);
    EXPECT_FALSE(ac.acceptGroundSample(airborneHere));
    ac.takeOffRoll = true;
    ac.samples.back().groundSpeedKt = 60;
    PositionSample stop = gf_sampleAt(last, 0, 400, now + 900, 0);
    EXPECT_FALSE(ac.acceptGroundSample(stop));  // a stop during a fast take-off roll
}

TEST_F(StreamEnd, ATrackOfZeroLeavesThePushbackTurnUndecided) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::PushingBack;
    ac.pushbackCounter = 2;
    ac.simPosition.heading = kPi;
    PositionSample s = gf_sample(50.001, 8, now, 3);
    s.trackDeg = 0;
    EXPECT_FALSE(ac.checkExtendingSituations(s));
    EXPECT_FALSE(ac.pushbackTurnKnown);
    s.trackDeg = 200;
    EXPECT_FALSE(ac.checkExtendingSituations(s));
    EXPECT_TRUE(ac.pushbackTurnKnown);
    EXPECT_TRUE(ac.pushbackTurnsRight);
    s.headingRad = 170 * kRadPerDeg;  // a true heading counts before the track
    ac.checkExtendingSituations(s);
    EXPECT_FALSE(ac.pushbackTurnsRight);
}

}  // namespace
}  // namespace mrw

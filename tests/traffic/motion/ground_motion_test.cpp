#include <gtest/gtest.h>

#include <cmath>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"
#include "traffic/parking/static_parking.h"

namespace mrw {
namespace {

using test::gf_activeAircraft;
using test::gf_sample;
using test::gf_sampleAt;

class GroundMotion : public ::testing::Test {
  protected:
    void SetUp() override { test::gf_resetMotionState(now); }
    const std::int32_t now = 100000;
};

TEST_F(GroundMotion, AStationaryNextSampleKeepsItsSpanAndItsLimits) {
    const struct {
        std::int32_t s0Due, s1Due, early, late, streamEndState, want;
    } cases[] = {
        {0, 100, 1000, 1000, 0, 100},       // paced by its span from the sample before
        {0, 10, 1000, 1000, 0, 25},         // a span below 25 ticks counts 25
        {-2000, -1900, 1000, 1000, 0, 0},   // late: within its late limit, never before now
        {3000, 3100, 1000, 1000, 0, 3100},  // due later: its own due tick
        {5000, 10, 1000, 1000, 0, 1010},    // due before the sample before: the late limit holds it
        {5000, 10, 1000, 1000, 2, 5025},    // a run-out stream has no limits
    };
    for (const auto& c : cases) {
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        PositionSample s1 = gf_sample(50, 8, now + c.s1Due);
        s1.stationary = true;
        ac.samples = {gf_sample(50, 8, now + c.s0Due), s1};
        ac.earlyLimit = c.early;
        ac.lateLimit = c.late;
        ac.streamEndState = c.streamEndState;
        ac.timeGroundLeg();
        EXPECT_EQ(ac.samples[1].dueTick - now, c.want) << c.s0Due << " " << c.s1Due;
    }
}

// A taxi leg s0 -> s1 of 100 m north, then s1 -> s2 turning by the angle.
LiveAc lf_taxiTurn(std::int32_t now, double turnDeg, double secondLegMetres = 100) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    const PositionSample s0 = gf_sample(50, 8, now, 15);
    const PositionSample s1 = gf_sampleAt(s0, 0, 100, now + 500, 15);
    const PositionSample s2 = gf_sampleAt(s1, turnDeg, secondLegMetres, now + 1000, 15);
    ac.samples = {s0, s1, s2};
    ac.targetHeading = 0;
    return ac;
}

TEST_F(GroundMotion, TurnsUpTo160DegreesGetACurveSharperOnesTurnInPlace) {
    const struct {
        double turnDeg;
        bool curve;
    } cases[] = {{2, false}, {30, true}, {100, true}, {159, true}, {170, false}};
    for (const auto& c : cases) {
        LiveAc ac = lf_taxiTurn(now, c.turnDeg);
        ac.nextPosGround();
        EXPECT_EQ(ac.curve.exists(), c.curve) << c.turnDeg;
        if (c.curve) {
            EXPECT_NEAR(ac.curveAngleDeg, c.turnDeg, 0.01);
            EXPECT_EQ(ac.samples.size(), 2U);  // the corner became the control point
        }
        EXPECT_FALSE(ac.turnInPlace);  // heading already on the leg
    }
    // Heading east on a northbound leg whose next leg turns 170 degrees off that heading.
    LiveAc ac = lf_taxiTurn(now, 260);
    ac.simPosition.heading = 90 * kRadPerDeg;
    ac.nextPosGround();
    EXPECT_TRUE(ac.turnInPlace);
    EXPECT_NEAR(ac.turnInPlaceDeg, 90, 1e-9);
}

TEST_F(GroundMotion, ATurnOf90DegreesOrMoreWidensBothLimits) {
    for (const double turn : {60.0, 90.0}) {
        LiveAc ac = lf_taxiTurn(now, turn);
        ac.nextPosGround();
        const std::int32_t want = turn >= 90 ? 2000 : 1000;
        EXPECT_EQ(ac.earlyLimit, want) << turn;
        EXPECT_EQ(ac.lateLimit, want) << turn;
    }
}

TEST_F(GroundMotion, AShortCurveNeverTurnsFasterThanThreeTimesTheTurnRate) {
    for (const double turn : {10.0, 30.0, 45.0, 80.0, 150.0}) {
        LiveAc ac = lf_taxiTurn(now, turn, 8);
        ac.samples[0].groundSpeedKt = 25;
        ac.samples[1].groundSpeedKt = 25;
        ac.nextPosGround();
        ASSERT_TRUE(ac.curve.exists()) << turn;
        EXPECT_GT(ac.turnStep, 0);
        EXPECT_LE(ac.turnStep, 3 * ac.turnRatePerTick + 1e-15) << turn;
    }
}

TEST_F(GroundMotion, ALegWithoutSpeedsTakesItsDistanceOverItsTime) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    const PositionSample s0 = gf_sample(50, 8, now, 0);
    ac.samples = {s0, gf_sampleAt(s0, 0, 185.2, now + 3600, 0)};  // 0.1 nm in 36 s: 10 kt
    EXPECT_NEAR(ac.groundSpeedKt(), 10, 1e-3);
    ac.samples = {s0, gf_sampleAt(s0, 0, 0.5, now + 3600, 0)};
    EXPECT_DOUBLE_EQ(ac.groundSpeedKt(), 1);                    // at least 1 kt
    ac.samples = {s0, gf_sampleAt(s0, 0, 185.2, now - 10, 0)};  // earlier: 25 ticks
    EXPECT_NEAR(ac.groundSpeedKt(), 0.1 * kTicksPerHour / 25, 1e-2);
}

TEST_F(GroundMotion, ALandingRollSlowingTo90KnotsCleansUpButKeepsTheThrottle) {
    for (const double knots : {120.0, 91.0, 90.0, 60.0}) {
        SCOPED_TRACE(knots);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        ac.phase = FlightPhase::Taxi;
        ac.landingRoll = true;
        ac.touchdownHeading = 0;
        ac.throttleIndex = 2;
        ac.flapsIndex = 3;
        const PositionSample s0 = gf_sample(50, 8, now, knots);
        ac.samples = {s0, gf_sampleAt(s0, 0, 300, now + 700, 50)};
        ac.stepGround();
        EXPECT_EQ(ac.flapsIndex, knots <= 90 ? 1 : 3);
        EXPECT_EQ(ac.throttleIndex, 2);
        EXPECT_TRUE(ac.landingRoll);
        ac.simPosition.heading = 16 * kRadPerDeg;  // turned off the runway
        ac.stepGround();
        EXPECT_FALSE(ac.landingRoll);
        EXPECT_EQ(ac.flapsIndex, 0);
        EXPECT_EQ(ac.throttleIndex, 0);
    }
}

TEST_F(GroundMotion, APushbackEndsRightOfTheNoseUnlessTheNoseIsToTurnRight) {
    // Stand heading north: 2.5 radii behind is south of the stand, right of the nose east of it.
    const std::int32_t stand = test::gf_addParkStand(50, 8, 0, 30);
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::Parked;
    ac.standNumber = stand;
    ac.standPosition = {50, 8};
    ac.samples = {gf_sample(50, 8, now, 0), gf_sample(49.999, 8, now + 3000, 5)};
    ac.startPushback();
    ASSERT_EQ(ac.phase, FlightPhase::PushingBack);
    const Lalo p = gf_destinationPoint({50, 8}, kPi, 2.5 * 30 / kMetresPerNm * kFeetPerNm);
    const double halfSpanM = ac.halfSpanNm * kMetresPerNm;
    const auto eastOfP = [&](const PositionSample& s) {
        return (s.lon - p.longitude) * std::cos(50 * kRadPerDeg) * kMetresPerDegree;
    };
    EXPECT_NEAR(eastOfP(ac.samples.back()), halfSpanM, 0.5);
    EXPECT_NEAR(eastOfP(ac.pushbackOtherEnd), -halfSpanM, 0.5);
}

TEST_F(GroundMotion, AParkedAircraftPushesBackWhenItsSamplesLieAsideOrBehind) {
    const struct {
        double bearingDeg;
        FlightPhase phase;
    } cases[] = {{90, FlightPhase::PushingBack},
                 {-90, FlightPhase::PushingBack},
                 {180, FlightPhase::PushingBack},
                 {89, FlightPhase::Taxi},
                 {0, FlightPhase::Taxi}};
    for (const auto& c : cases) {
        test::gf_resetMotionState(now);
        const std::int32_t stand = test::gf_addParkStand(50, 8, 0, 30);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        ac.phase = FlightPhase::Parked;
        ac.standNumber = stand;
        ac.standPosition = {50, 8};
        ac.leavingStand = true;
        const PositionSample s0 = gf_sample(50, 8, now, 0);
        ac.samples = {s0, gf_sampleAt(s0, c.bearingDeg, 60, now + 3000, 8)};
        ac.nextPosGround();
        EXPECT_EQ(ac.phase, c.phase) << c.bearingDeg;
    }
}

TEST_F(GroundMotion, AStraightPushbackEndsTwoAndAHalfStandRadiiBehindTheStand) {
    g_parameters().STRAIGHT_PBS_ONLY.current = true;
    const std::int32_t stand = test::gf_addParkStand(50, 8, 45, 30);
    g_liveAcs.push_back(gf_activeAircraft(AcCategory::Large, 50, 8));
    LiveAc& ac = g_liveAcs.back();
    ac.simPosition.heading = 45 * kRadPerDeg;
    ac.phase = FlightPhase::Parked;
    ac.previousPhase = FlightPhase::Parking;
    ac.standNumber = stand;
    ac.standPosition = {50, 8};
    ac.standHeadingRad = 45 * kRadPerDeg;
    ac.streamEndState = 1;
    PositionSample front = gf_sample(50, 8, now + 60480000);
    front.stationary = true;
    ac.samples = {front};
    // The aircraft starts to leave: a sample 180 m behind it, beyond the stand area.
    PositionSample away = gf_sampleAt(front, 225, 180, now + 3000, 5);
    away.trackDeg = 200;
    ac.decodeExisting(away);
    ASSERT_TRUE(ac.leavingStand);
    for (int i = 0; i < 20000 && ac.phase != FlightPhase::PushedBack; ++i) {
        test::gf_updateActive(ac);
        ++g_engineTick;
    }
    ASSERT_EQ(ac.phase, FlightPhase::PushedBack);
    const Lalo behind = gf_destinationPoint({50, 8}, 225 * kRadPerDeg, 2.5 * 30 / kMetresPerNm * kFeetPerNm);
    EXPECT_LT(gf_distanceNm(gf_lalo(ac.simPosition), behind) * kMetresPerNm, 1.0);
    EXPECT_NEAR(ac.simPosition.heading * kDegPerRad, 45, 0.5);  // backed out straight
}

TEST_F(GroundMotion, AnAircraftParksWithinTwoMetresOfItsStand) {
    for (const double metres : {1.99, 2.1}) {
        test::gf_resetMotionState(now);
        const std::int32_t stand = test::gf_addParkStand(50, 8, 0, 30);
        const PositionSample standSample = gf_sample(50, 8, now);
        const PositionSample at = gf_sampleAt(standSample, 90, metres, now);
        LiveAc ac = gf_activeAircraft(AcCategory::Large, at.lat, at.lon);
        ac.phase = FlightPhase::Parking;
        ac.standNumber = stand;
        ac.standPosition = {50, 8};
        ac.samples = {at};
        EXPECT_TRUE(ac.onStreamEnd());
        const bool parked = metres < 2;
        EXPECT_EQ(ac.phase, parked ? FlightPhase::Parked : FlightPhase::Taxi) << metres;
        EXPECT_EQ(g_parkStands[0].occupied, parked);
        EXPECT_EQ(ac.streamEndState, parked ? 1 : 10);
    }
}

TEST_F(GroundMotion, AStandTakenMeanwhileRemovesTheArrivingAircraftOnceAndStaysTaken) {
    const std::int32_t stand = test::gf_addParkStand(50, 8, 0, 30);
    g_parkStands[0].occupied = true;  // another live aircraft parked there first
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::Parking;
    ac.standNumber = stand;
    ac.standPosition = {50, 8};
    ac.samples = {gf_sample(50, 8, now)};
    ac.nextPosMain();
    EXPECT_EQ(ac.simState, SimState::RemovingFromSim);
    EXPECT_EQ(g_removeQueue.size(), 1U);
    EXPECT_TRUE(g_parkStands[0].occupied);
    EXPECT_EQ(ac.standNumber, 0);
}

TEST_F(GroundMotion, DrivingOntoTheStandEndsWithAStop) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.simPosition.altitudeFt = 133;
    ac.streamEndState = 4;
    const PositionSample s0 = gf_sample(50, 8, now, 5);
    ac.samples = {s0};
    const PositionSample stand = gf_sampleAt(s0, 0, 40, 0);
    ac.drive2Stand(gf_lalo(stand), kPi);
    ASSERT_EQ(ac.samples.size(), 3U);
    EXPECT_EQ(ac.samples[0].groundSpeedKt, 4);
    EXPECT_FALSE(ac.samples[1].stationary);
    EXPECT_DOUBLE_EQ(ac.samples[1].trackDeg, 180);
    EXPECT_TRUE(ac.samples[2].stationary);
    EXPECT_EQ(ac.samples[2].dueTick - ac.samples[1].dueTick, 50);
    EXPECT_GE(ac.samples[1].dueTick - now, 100);
    EXPECT_EQ(ac.streamEndState, 0);
    EXPECT_EQ(ac.lateLimit, 3000);
    EXPECT_DOUBLE_EQ(ac.targetHeading, kPi);
}

}  // namespace
}  // namespace mrw

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"

namespace mrw {
namespace {

using test::gf_activeAircraft;

class TickStep : public ::testing::Test {
  protected:
    void SetUp() override { test::gf_resetMotionState(); }
};

TEST_F(TickStep, TurnsByItsStepAndTakesACloserTargetAtOnce) {
    const struct {
        double fromDeg, toDeg, stepDeg;
        int ticks;
        double wantDeg;
    } cases[] = {
        {0, 10, 3, 3, 9},             // three full steps
        {0, 10, 3, 4, 10},            // the fourth would pass the target: snapped onto it
        {0, 0.4, 3, 5, 0},            // within half a degree nothing happens
        {359.8, 0.1, 0.1, 5, 359.8},  // across north the wrapped gap counts
        {350, 20, 2, 2, 354},         // the short way round, clockwise
        {20, 350, 2, 2, 16},          // and anticlockwise
        {100, 100.7, 0.2, 1, 100.2},  // 0.7 degrees off, farther than a step: one step
    };
    for (const auto& c : cases) {
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
        ac.simPosition.heading = c.fromDeg * kRadPerDeg;
        ac.targetHeading = c.toDeg * kRadPerDeg;
        ac.turnStep = c.stepDeg * kRadPerDeg;
        ac.turnInPlace = true;
        for (int i = 0; i < c.ticks; ++i)
            ac.stepTick();
        EXPECT_NEAR(ac.simPosition.heading * kDegPerRad, c.wantDeg, 1e-9) << c.fromDeg << " -> " << c.toDeg;
    }
}

TEST_F(TickStep, TheNoseNeverSwingsAcrossItsTarget) {
    LiveAc ac = gf_activeAircraft(AcCategory::Heavy, 50, 8);
    ac.simPosition.heading = 0;
    ac.targetHeading = 30 * kRadPerDeg;
    ac.turnStep = 0.7 * kRadPerDeg;
    ac.phase = FlightPhase::Parking;
    double previous = 0;
    for (int i = 0; i < 200; ++i) {
        ac.stepTick();
        const double h = ac.simPosition.heading * kDegPerRad;
        EXPECT_GE(h, previous - 1e-12) << "tick " << i;  // never turns back
        EXPECT_LE(h, 30 + 1e-9);
        previous = h;
    }
    EXPECT_NEAR(previous, 30, 1e-9);
}

TEST_F(TickStep, AltitudeChangesAtMostTheLargestStepPerTick) {
    for (const double step : {5.0, -5.0, 0.2}) {
        LiveAc ac = gf_activeAircraft(AcCategory::Heavy, 50, 8, 5000);
        ac.altStep = step;
        ac.stepTick();
        EXPECT_NEAR(ac.simPosition.altitudeFt - 5000, std::clamp(step, -0.5, 0.5), 1e-9) << step;
    }
}

TEST_F(TickStep, TheFlareNeverRaisesTheNoseBeyondFourDegrees) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8, 160);
    ac.approaching = true;
    ac.heightAboveGround = 35;  // CG 8 + 30 >= 35: the flare begins
    ac.simPosition.pitch = -0.02;
    ac.stepTick();
    EXPECT_EQ(ac.flareStage, 1);
    EXPECT_DOUBLE_EQ(ac.altStep, -0.1);
    ac.pitchStep = -0.01;  // far beyond what the flare allows
    for (int i = 0; i < 100; ++i) {
        ac.stepTick();
        EXPECT_GE(ac.simPosition.pitch, -0.06981317007977318);
    }
    const struct {
        double height;
        int stage;
        double altStep;
    } stages[] = {{28, 2, -0.075}, {18, 3, -0.05}, {11, 4, -0.025}};
    for (const auto& s : stages) {
        ac.heightAboveGround = s.height;
        ac.stepTick();
        EXPECT_EQ(ac.flareStage, s.stage);
        EXPECT_DOUBLE_EQ(ac.altStep, s.altStep);
    }
    EXPECT_EQ(ac.throttleIndex, 0);  // idle from stage 3
}

TEST_F(TickStep, DerotationEndsWhenTheStaticPitchIsReached) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.phase = FlightPhase::Flying;
    ac.derotating = true;
    ac.flareStage = 4;
    ac.simPosition.pitch = -0.06;
    ac.staticPitchRad = 0.01;
    ac.pitchStep = 0.035;
    ac.stepTick();
    EXPECT_TRUE(ac.derotating);
    ac.stepTick();  // -0.06 + 0.07 = 0.01: reached counts as passed
    EXPECT_FALSE(ac.derotating);
    EXPECT_DOUBLE_EQ(ac.simPosition.pitch, 0.01);
    EXPECT_EQ(ac.flareStage, 0);
    EXPECT_EQ(ac.pitchStep, 0);
}

TEST_F(TickStep, TakeOffClimbsInTakeOffUntil800FeetAboveGround) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.startTakeOff();
    ac.altStep = 0.6;
    ac.heightAboveGround = 300;
    ASSERT_EQ(ac.phase, FlightPhase::TakeOff);
    for (int i = 0; i < 3000; ++i)
        ac.stepTick();
    EXPECT_FALSE(ac.onGroundInSim);
    EXPECT_EQ(ac.phase, FlightPhase::TakeOff);
    EXPECT_EQ(ac.rotationCounter, -1000);
    EXPECT_LE(ac.simPosition.pitch, ac.climbPitchRad + 1e-12);
    ac.heightAboveGround = 800;
    ac.stepTick();
    EXPECT_EQ(ac.phase, FlightPhase::Flying);
    EXPECT_EQ(ac.previousPhase, FlightPhase::TakeOff);
    EXPECT_EQ(ac.rotationCounter, 1);
    EXPECT_EQ(ac.throttleIndex, 3);
}

TEST_F(TickStep, TheCurveParameterStopsShortOfItsEnd) {
    LiveAc ac = gf_activeAircraft(AcCategory::Large, 50, 8);
    ac.curve.origin = {50, 8};
    ac.curve.t0 = 0;
    ac.curve.t1 = 1;
    ac.curve.controlNorthM = 50;
    ac.curve.controlEastM = 0;
    ac.curve.endNorthM = 50;
    ac.curve.endEastM = 50;
    // Paced at 30 m a tick, far from its sample: the curve is through in three ticks.
    ac.stepNowM = 30;
    ac.legFastestStepM = 30;
    ac.legEndStepM = 30;
    ac.legLeftM = 1000;
    ac.turnStep = 10;  // turn at once to see the target heading
    ac.phase = FlightPhase::PushingBack;
    for (int i = 0; i < 5; ++i)
        ac.stepTick();
    EXPECT_DOUBLE_EQ(ac.curveT, 0.999999);
    EXPECT_NEAR(ac.simPosition.lat, 50 + 50 / kMetresPerDegree, 1e-8);
    // Pushing back, the aircraft faces against the curve: tangent east, nose west.
    EXPECT_NEAR(ac.simPosition.heading, 3 * kPi / 2, 1e-4);
}

// The start of a take-off stream that crept sideways: on the ground, the curve to the first sample
// leaves 97 degrees off the nose. Whether its steps are centimetres or too small to take a bearing
// of, the aircraft turns on the spot until its way lies within 45 degrees of the nose, then moves.
TEST_F(TickStep, OnTheGroundACurveOffTheNoseIsTurnedToBeforeTheAircraftMoves) {
    for (const double stepM : {0.065, 0.0026}) {
        SCOPED_TRACE(::testing::Message() << "step " << stepM << " m");
        LiveAc ac = gf_activeAircraft(AcCategory::Large, 33.936584, -118.426167);
        ac.phase = FlightPhase::Taxi;
        ac.onGroundInSim = true;
        ac.simPosition.heading = 173.16 * kRadPerDeg;
        ac.turnStep = 0.02 * kRadPerDeg;
        ac.curve.origin = gf_lalo(ac.simPosition);
        ac.curve.t0 = 0;
        ac.curve.t1 = 1;
        ac.curve.controlNorthM = 0;
        ac.curve.controlEastM = -0.1;
        ac.curve.endNorthM = 0.67;
        ac.curve.endEastM = -1.02;
        ac.legLeftM = ac.curve.lengthM();
        ac.legFastestStepM = stepM;
        ac.legEndStepM = stepM;
        ac.stepNowM = 0;
        int movingTicks = 0;
        for (int tick = 0; tick < 1500; ++tick) {
            const Lalo before = gf_lalo(ac.simPosition);
            ac.stepTick();
            const Lalo after = gf_lalo(ac.simPosition);
            if (after.latitude == before.latitude && after.longitude == before.longitude) continue;
            ++movingTicks;
            const double offNoseDeg =
                std::fabs(gf_wrapPi(gf_bearingRad(before, after) - ac.simPosition.heading)) * kDegPerRad;
            ASSERT_LE(offNoseDeg, 46) << "tick " << tick;
        }
        // Once turned, it went on along its curve.
        EXPECT_GT(movingTicks, 0);
        EXPECT_GT(ac.curveT, 0.2);
    }
}

}  // namespace
}  // namespace mrw

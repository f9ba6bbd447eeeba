#include "traffic/model/air_path.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/geometry.h"
#include "traffic/motion/motion_math.h"

namespace mrw {
namespace {

const Lalo kFrom{34.2, -118.4};

Lalo lf_offset(double bearingDeg, double metres) {
    return gf_destinationPoint(kFrom, bearingDeg * kRadPerDeg, metres / kMetresPerNm * kFeetPerNm);
}

double lf_metresBetween(Lalo a, Lalo b) {
    return gf_distanceNm(a, b) * kMetresPerNm;
}

// Walks a way in 1 m steps: it starts at its origin along the start heading, its nose turns by no
// more than the sharpest curvature allows per metre and each step goes along the nose, and it ends
// at the end point along the arrival heading.
void lf_expectSmoothWay(const AirPath& path, double startDeg, Lalo end, double arrivalDeg) {
    ASSERT_TRUE(path.exists());
    Lalo at;
    double heading = 0;
    path.positionAt(0, at, heading);
    EXPECT_LT(lf_metresBetween(at, kFrom), 0.01);
    EXPECT_NEAR(gf_wrapPi(heading - startDeg * kRadPerDeg), 0, 1e-9);
    const double k = path.sharpestCurvature();
    for (double m = 1; m <= path.lengthM(); m += 1) {
        Lalo next;
        double nextHeading = 0;
        path.positionAt(m, next, nextHeading);
        ASSERT_LE(std::fabs(gf_wrapPi(nextHeading - heading)), k * 1 + 1e-9) << "at " << m << " m";
        const double track = gf_bearingRad(at, next);
        ASSERT_LT(std::fabs(gf_wrapPi(track - heading - gf_wrapPi(nextHeading - heading) / 2)), 0.01)
            << "at " << m << " m";
        ASSERT_NEAR(lf_metresBetween(at, next), 1, 0.01) << "at " << m << " m";
        at = next;
        heading = nextHeading;
    }
    path.positionAt(path.lengthM(), at, heading);
    EXPECT_LT(lf_metresBetween(at, end), 0.01);
    EXPECT_NEAR(gf_wrapPi(heading - arrivalDeg * kRadPerDeg), 0, 1e-6);
}

TEST(AirPath, LeavesAlongTheHeadingAndArrivesAlongTheArrivalHeading) {
    const struct {
        const char* what;
        double bearingDeg, metres, headingDeg, arrivalDeg;
    } cases[] = {
        {"straight ahead", 30, 1000, 30, 30},
        {"a steady right turn", 20, 1000, 0, 40},
        {"a steady left turn", 340, 1000, 0, 320},
        {"a side-step (two arcs turning opposite ways)", 10, 800, 0, 0},
        {"a sharp corner", 120, 770, 0, 150},
        {"an end behind the nose", 160, 500, 0, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Lalo end = lf_offset(c.bearingDeg, c.metres);
        lf_expectSmoothWay(AirPath::between(kFrom, c.headingDeg * kRadPerDeg, end, c.arrivalDeg * kRadPerDeg),
                           c.headingDeg, end, c.arrivalDeg);
    }
}

// The way is laid on a plane around its start: over a few km it keeps within a few centimetres of
// the great circle.
TEST(AirPath, AStraightWayHasNoCurvatureAndAWayOnAnArcHasItsOwn) {
    const Lalo ahead = lf_offset(45, 2000);
    const AirPath straight = AirPath::between(kFrom, 45 * kRadPerDeg, ahead, 45 * kRadPerDeg);
    EXPECT_LT(straight.sharpestCurvature(), 1e-6);
    EXPECT_NEAR(straight.lengthM(), 2000, 0.1);
    // A way that turns 90 degrees right onto a chord 45 degrees off the nose is a quarter circle.
    const double radius = 1000;
    const Lalo quarter = lf_offset(45, radius * std::sqrt(2.0));
    const AirPath arc = AirPath::between(kFrom, 0, quarter, kPi / 2);
    EXPECT_NEAR(arc.sharpestCurvature(), 1 / radius, 1e-6);
    EXPECT_NEAR(arc.lengthM(), kPi / 2 * radius, 0.1);
}

TEST(AirPath, OneArcTurnsByItsCurvatureTimesItsLengthAndThenGoesOnStraight) {
    const double radius = 500;
    const AirPath left = AirPath::turning(kFrom, 0, -1 / radius, kPi / 2 * radius);
    Lalo at;
    double heading = 0;
    left.positionAt(left.lengthM(), at, heading);
    EXPECT_NEAR(heading, 1.5 * kPi, 1e-9);
    const Lalo turned = lf_offset(315, radius * std::sqrt(2.0));
    EXPECT_LT(lf_metresBetween(at, turned), 0.1);
    left.positionAt(left.lengthM() + 300, at, heading);
    EXPECT_NEAR(lf_metresBetween(at, turned), 300, 0.1);
    EXPECT_NEAR(gf_bearingRad(turned, at), 1.5 * kPi, 1e-3);
    EXPECT_NEAR(heading, 1.5 * kPi, 1e-9);
}

// Advancing tick by tick, the aircraft is where positionAt puts it at the distance flown, with its
// track, and the turns of the steps add up to the change of heading: over arcs of every curvature,
// across the joint and the end, in steps of varying length (a pace that changes).
TEST(AirPath, AdvancingStepByStepKeepsToTheWay) {
    const struct {
        const char* what;
        AirPath path;
        double stepM;
    } cases[] = {
        {"a gentle biarc", AirPath::between(kFrom, 0, lf_offset(10, 3000), 20 * kRadPerDeg), 2.5},
        {"a side-step", AirPath::between(kFrom, 0, lf_offset(10, 800), 0), 1.3},
        {"a helicopter's tight turn", AirPath::turning(kFrom, 0, 1 / 150.0, kPi * 150), 6.0},
        {"a straight way", AirPath::between(kFrom, 1.0, gf_destinationPoint(kFrom, 1.0, 1.0), 1.0), 2.0},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.path.exists());
        const AirPath reference = c.path;
        Lalo start;
        double startTrack = 0;
        reference.positionAt(0, start, startTrack);
        double flown = 0;
        double turned = 0;
        for (int tick = 0; flown < c.path.lengthM() + 100; ++tick) {
            const double step = c.stepM * (1 + 0.3 * std::sin(tick * 0.1));
            Lalo at;
            double track = 0;
            double turn = 0;
            c.path.advance(step, at, track, turn);
            flown += step;
            turned += turn;
            Lalo expected;
            double expectedTrack = 0;
            reference.positionAt(flown, expected, expectedTrack);
            ASSERT_LT(lf_metresBetween(at, expected), 1e-6) << "at " << flown << " m";
            ASSERT_NEAR(gf_wrapPi(track - expectedTrack), 0, 1e-9) << "at " << flown << " m";
            ASSERT_NEAR(gf_wrapPi(turned - (expectedTrack - startTrack)), 0, 1e-9);
        }
        EXPECT_DOUBLE_EQ(c.path.flownM, flown);
    }
}

TEST(AirPath, NoWayArrivesAlongTheNoseAtAPointBehindIt) {
    EXPECT_FALSE(AirPath::between(kFrom, 0, lf_offset(180, 1000), 0).exists());
    EXPECT_FALSE(AirPath::between(kFrom, 0, kFrom, 0).exists());
}

}  // namespace
}  // namespace mrw

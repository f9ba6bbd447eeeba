#include <gtest/gtest.h>

#include <gsl/narrow>

#include <cmath>
#include <limits>

#include "traffic/model/curve_segment.h"
#include "traffic/motion/motion_math.h"

namespace mrw {
namespace {

TEST(MotionMath, Wrap2piKeepsEveryAngleInOneTurn) {
    const struct {
        double in;
        double out;
    } cases[] = {{-0.1, 2 * kPi - 0.1},
                 {2 * kPi, 0.0},
                 {0.0, 0.0},
                 {7.0, 7.0 - 2 * kPi},
                 {-2 * kPi - 1, 2 * kPi - 1},
                 // Within 1e-12 below a full turn the angle counts as rounded up to it: 0.
                 {2 * kPi - 5e-13, 0.0},
                 {6.283185307178586, 6.283185307178586}};
    for (const auto& c : cases)
        EXPECT_NEAR(gf_wrap2pi(c.in), c.out, 1e-12) << c.in;
    EXPECT_NEAR(gf_wrapPi(3 * kPi / 2), -kPi / 2, 1e-12);
    EXPECT_NEAR(gf_wrapPi(-3 * kPi / 2), kPi / 2, 1e-12);
}

TEST(MotionMath, PositionsBeyondTheAntimeridianOrAPoleComeBack) {
    const struct {
        double lat, lon, wantLat, wantLon;
    } cases[] = {
        {10, 180.001, 10, -179.999}, {10, -180.5, 10, 179.5}, {90.5, 10, 89.5, -170},
        {-90.5, -10, -89.5, 170},    {45, 540, 45, -180},     {10, 180, 10, -180},
        {10, -180, 10, -180},        {10, 179.5, 10, 179.5},  {10, -540.5, 10, 179.5},
    };
    for (const auto& c : cases) {
        double lat = c.lat;
        double lon = c.lon;
        gf_normalisePosition(lat, lon);
        EXPECT_NEAR(lat, c.wantLat, 1e-9) << c.lat << "," << c.lon;
        EXPECT_NEAR(lon, c.wantLon, 1e-9) << c.lat << "," << c.lon;
    }
}

TEST(MotionMath, TickCountsThatDoNotFitThrow) {
    EXPECT_EQ(gf_roundTicks(24.5), 25);
    EXPECT_EQ(gf_roundTicks(-3.4), -3);
    EXPECT_THROW(gf_roundTicks(std::numeric_limits<double>::quiet_NaN()), gsl::narrowing_error);
    EXPECT_THROW(gf_roundTicks(std::numeric_limits<double>::infinity()), gsl::narrowing_error);
    EXPECT_THROW(gf_roundTicks(3e9), gsl::narrowing_error);
    EXPECT_EQ(gf_tickAfter(std::numeric_limits<std::int32_t>::max() - 5, 100),
              std::numeric_limits<std::int32_t>::max());
}

CurveSegment lf_curve() {
    CurveSegment curve;
    curve.origin = {50.0, 8.0};
    curve.t0 = 0;
    curve.t1 = 1;
    curve.controlNorthM = 100;
    curve.controlEastM = 0;
    curve.endNorthM = 100;
    curve.endEastM = 100;
    return curve;
}

TEST(CurveSegment, RunsFromTheOriginThroughTheControlPointToTheEnd) {
    const CurveSegment curve = lf_curve();
    Lalo p;
    double heading = -1;
    ASSERT_TRUE(curve.positionAt(0.0, p, heading));
    EXPECT_DOUBLE_EQ(p.latitude, 50.0);
    EXPECT_DOUBLE_EQ(p.longitude, 8.0);
    EXPECT_NEAR(heading, 0.0, 1e-12);  // towards the control point, due north
    ASSERT_TRUE(curve.positionAt(1.0, p, heading));
    EXPECT_NEAR(p.latitude, 50.0 + 100 / kMetresPerDegree, 1e-12);
    EXPECT_NEAR(p.longitude, 8.0 + 100 / (std::cos(50.0 * kRadPerDeg) * kMetresPerDegree), 1e-12);
    EXPECT_NEAR(heading, kPi / 2, 1e-12);  // leaving the control point due east
    ASSERT_TRUE(curve.positionAt(0.999999, p, heading));
    EXPECT_NEAR(heading, kPi / 2, 1e-5);
}

// A curve laid anew from another origin takes that origin's scale of longitude.
TEST(CurveSegment, ALaterOriginGetsItsOwnLongitudeScale) {
    CurveSegment curve = lf_curve();
    Lalo p;
    double heading = 0;
    ASSERT_TRUE(curve.positionAt(1.0, p, heading));
    for (const double latitude : {60.0, -10.0, 50.0}) {
        curve.origin = {latitude, 8.0};
        ASSERT_TRUE(curve.positionAt(1.0, p, heading));
        EXPECT_NEAR(p.longitude, 8.0 + 100 / (std::cos(latitude * kRadPerDeg) * kMetresPerDegree), 1e-12)
            << latitude;
    }
}

TEST(CurveSegment, NoPointOutsideTheSegmentOrWithoutACurve) {
    CurveSegment curve = lf_curve();
    Lalo p{1, 2};
    double heading = 0;
    EXPECT_FALSE(curve.positionAt(1.0001, p, heading));
    EXPECT_FALSE(curve.positionAt(-0.0001, p, heading));
    curve.controlEastM = CurveSegment::kNone;
    EXPECT_FALSE(curve.positionAt(0.5, p, heading));
    curve = lf_curve();
    curve.clear();
    EXPECT_FALSE(curve.exists());
    EXPECT_FALSE(curve.positionAt(0.5, p, heading));
    EXPECT_EQ(p, (Lalo{1, 2}));
}

}  // namespace
}  // namespace mrw

#include "foundation/geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace mrw {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFeetPerNm = 6076.12;

TEST(GeometryTest, Distances) {
    EXPECT_DOUBLE_EQ(gf_distanceNm({52.3, 4.76}, {52.3, 4.76}), 0.0);
    EXPECT_NEAR(gf_distanceNm({0, 0}, {0, 1}), 60.0, 0.01);
    EXPECT_NEAR(gf_distanceNm({0, 0}, {0, 180}), kPi * 3437.746770784939, 1e-6);
    EXPECT_DOUBLE_EQ(gf_distanceNm({51.47, -0.45}, {52.31, 4.76}),
                     gf_distanceNm({52.31, 4.76}, {51.47, -0.45}));
}

TEST(GeometryTest, BearingsAreInZeroToTwoPi) {
    struct Case {
        Lalo to;
        double expected;
    };
    for (const Case& c : {Case{{1, 0}, 0.0}, Case{{0, 1}, kPi / 2}, Case{{0, -1}, 3 * kPi / 2},
                          Case{{0, 0}, 0.0}, Case{{-1, 0}, kPi}}) {
        EXPECT_NEAR(gf_bearingRad({0, 0}, c.to), c.expected, 1e-12) << c.to.latitude << "," << c.to.longitude;
    }
}

TEST(GeometryTest, DestinationPoints) {
    const Lalo east = gf_destinationPoint({0, 0}, kPi / 2, 60 * kFeetPerNm);
    EXPECT_NEAR(east.latitude, 0.0, 1e-4);
    EXPECT_NEAR(east.longitude, 1.0, 1e-4);

    const Lalo same = gf_destinationPoint({12.5, -7.25}, 0.0, 0.0);
    EXPECT_DOUBLE_EQ(same.latitude, 12.5);
    EXPECT_DOUBLE_EQ(same.longitude, -7.25);

    const Lalo wrapped = gf_destinationPoint({0, 179.5}, kPi / 2, 60 * kFeetPerNm);
    EXPECT_NEAR(wrapped.longitude, -179.5, 1e-3);
}

TEST(GeometryTest, FeetAndNauticalMilesAgreeOnEveryBearing) {
    const Lalo start{47.45, 8.56};
    for (int i = 0; i < 16; ++i) {
        const double bearing = i * kPi / 8;
        EXPECT_NEAR(gf_distanceNm(start, gf_destinationPoint(start, bearing, kFeetPerNm)), 1.0, 0.001)
            << bearing;
    }
}

}  // namespace
}  // namespace mrw

#include "airports/stand_overlaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "foundation/geometry.h"

namespace mrw {
namespace {

constexpr double kMetresPerDegreeLatitude = 1852.0 * 60.0;

std::vector<Stand> lf_numbered(std::vector<Stand> stands) {
    std::int32_t number = 0;
    for (Stand& stand : stands)
        stand.number = ++number;
    return stands;
}

Stand lf_stand(double latitude, double longitude, double radiusMetres) {
    return Stand({}, "S", latitude, longitude, 0.0, radiusMetres, 9, false, false, false);
}

// 10,000 stands 30 m apart with radii of 20 m: each overlaps exactly its neighbours in a row or a
// column (40 m > 1.1 x 30 m), never the diagonal ones (1.1 x 42.4 m > 40 m).
TEST(StandOverlaps, LargeGridOverlapsItsNeighboursOnly) {
    constexpr int kSide = 100;
    constexpr double kLatitude = 52.3;
    const double latStep = 30.0 / kMetresPerDegreeLatitude;
    const double lonStep = latStep / std::cos(kLatitude * 3.141592653589793 / 180.0);
    std::vector<Stand> stands;
    for (int row = 0; row < kSide; ++row)
        for (int column = 0; column < kSide; ++column)
            stands.push_back(lf_stand(kLatitude + row * latStep, 4.7 + column * lonStep, 20.0));
    stands = lf_numbered(std::move(stands));
    gf_findStandOverlaps(stands);
    for (int row = 0; row < kSide; ++row) {
        for (int column = 0; column < kSide; ++column) {
            std::vector<std::int32_t> expected;
            const auto add = [&](int r, int c) {
                if (r >= 0 && r < kSide && c >= 0 && c < kSide) expected.push_back(r * kSide + c + 1);
            };
            add(row - 1, column);
            add(row, column - 1);
            add(row, column + 1);
            add(row + 1, column);
            ASSERT_EQ(stands[static_cast<std::size_t>(row * kSide + column)].overlaps, expected)
                << row << ", " << column;
        }
    }
}

// Random stands, clustered and spread, across the date line and near a pole, with radii large,
// non-finite and negative: the same overlaps as comparing every pair.
TEST(StandOverlaps, SameAsEveryPairCompared) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> offset(-0.002, 0.002);
    std::uniform_real_distribution<double> radius(0.0, 80.0);
    std::vector<Stand> stands;
    for (const auto& [lat, lon] : std::vector<std::pair<double, double>>{{52.3, 4.76},
                                                                         {-33.9, 151.17},
                                                                         {0.0, 179.999},
                                                                         {0.0, -179.999},
                                                                         {89.999, 0.0},
                                                                         {89.999, 180.0}}) {
        for (int i = 0; i < 60; ++i)
            stands.push_back(lf_stand(lat + offset(random), lon + offset(random), radius(random)));
    }
    stands.push_back(lf_stand(52.3, 4.76, 5000.0));
    stands.push_back(lf_stand(52.3, 4.76, std::numeric_limits<double>::infinity()));
    stands.push_back(lf_stand(52.3, 4.76, std::numeric_limits<double>::quiet_NaN()));
    stands.push_back(lf_stand(52.3, 4.76, -10.0));
    stands = lf_numbered(std::move(stands));
    gf_findStandOverlaps(stands);
    std::size_t overlapping = 0;
    for (const Stand& p : stands) {
        std::vector<std::int32_t> expected;
        for (const Stand& q : stands) {
            if (&p != &q && p.radius + q.radius >
                                1.1 * gf_distanceNm({p.latitude, p.longitude}, {q.latitude, q.longitude}))
                expected.push_back(q.number);
        }
        EXPECT_EQ(p.overlaps, expected) << p.number;
        overlapping += expected.empty() ? 0 : 1;
    }
    EXPECT_GT(overlapping, stands.size() / 2);  // the table really holds overlaps
}

}  // namespace
}  // namespace mrw

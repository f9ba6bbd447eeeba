#include <gtest/gtest.h>

#include <cmath>

#include "traffic/model/step_track.h"
#include "traffic/motion/motion_math.h"

namespace mrw {
namespace {

// The direction of a step in metres east and north: a degree of longitude is cos(latitude) times
// shorter than one of latitude.
TEST(StepTrack, IsTheDirectionOfTheStepInMetres) {
    const struct {
        double latStep, lonStep, latDeg, wantDeg;
    } cases[] = {
        {1e-6, 0, 50, 0},
        {0, 1e-6, 50, 90},
        {-1e-6, 0, -20, 180},
        {0, -1e-6, 0, 270},
        {1e-6, 1e-6, 0, 45},
        {1e-6, 1e-6 / std::cos(60 * kRadPerDeg), 60, 45},
        {-1e-6, -1e-6 / std::cos(50 * kRadPerDeg), 50, 225},
    };
    for (const auto& c : cases) {
        StepTrack track;
        EXPECT_NEAR(track.of(c.latStep, c.lonStep, c.latDeg) * kDegPerRad, c.wantDeg, 1e-9)
            << c.latStep << "," << c.lonStep << " at " << c.latDeg;
    }
}

// Kept for its step: the same step later on the leg keeps the first answer, a new step gets its own.
TEST(StepTrack, IsKeptForItsStepAndTakenAnewForAnother) {
    StepTrack track;
    const double northEast = track.of(1e-6, 1e-6, 0);
    EXPECT_EQ(track.of(1e-6, 1e-6, 0.001), northEast);
    EXPECT_NEAR(track.of(1e-6, 2e-6, 0) * kDegPerRad, std::atan2(2.0, 1.0) * kDegPerRad, 1e-9)
        << "a new longitude step";
    EXPECT_NEAR(track.of(2e-6, 2e-6, 0) * kDegPerRad, 45, 1e-9) << "a new latitude step";
    EXPECT_NEAR(track.of(1e-6, 1e-6, 60) * kDegPerRad, std::atan2(0.5, 1.0) * kDegPerRad, 1e-9)
        << "the first step again, now asked at 60 degrees north";
}

}  // namespace
}  // namespace mrw

#include "traffic/motion/motion_math.h"

#include <gsl/narrow>

#include <cmath>
#include <limits>

namespace mrw {

double gf_wrap2pi(double radians) {
    constexpr double kFullTurn = 2 * kPi;
    // fmod returns an angle within one turn either way as it is: most angles skip its cost.
    double r = std::fabs(radians) < kFullTurn ? radians : std::fmod(radians, kFullTurn);
    if (r < 0) r += kFullTurn;
    if (r > 6.283185307178586) r = 0;
    return r;
}

double gf_wrapPi(double radians) {
    const double r = gf_wrap2pi(radians);
    return r > kPi ? r - 2 * kPi : r;
}

std::int32_t gf_roundTicks(double ticks) {
    const double rounded = std::round(ticks);
    // Tested before the cast: converting a NaN or an out-of-range double is undefined.
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() &&
          rounded <= std::numeric_limits<std::int32_t>::max())) {
        throw gsl::narrowing_error();
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t gf_tickAfter(std::int64_t now, std::int64_t ticks) {
    const std::int64_t due = now + ticks;
    if (due > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (due < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(due);
}

bool gf_samePosition(Lalo a, Lalo b) {
    return std::fabs(a.latitude - b.latitude) <= kSamePositionDeg &&
           std::fabs(a.longitude - b.longitude) <= kSamePositionDeg;
}

namespace {
double lf_stepEastM(const LiveAc& ac) {
    return ac.lonStep * kMetresPerDegree * std::cos(ac.simPosition.lat * kRadPerDeg);
}
double lf_stepNorthM(const LiveAc& ac) {
    return ac.latStep * kMetresPerDegree;
}
}  // namespace

double gf_stepSpeedMps(const LiveAc& ac) {
    return std::hypot(lf_stepEastM(ac), lf_stepNorthM(ac)) / kSecondsPerTick;
}

double gf_stepTrackRad(LiveAc& ac) {
    if (ac.latStep == 0 && ac.lonStep == 0) return ac.simPosition.heading;
    return ac.stepTrack.of(ac.latStep, ac.lonStep, ac.simPosition.lat);
}

namespace {
double lf_normaliseLongitude(double lon) {
    const double shifted = lon + 180.0;
    // As in gf_wrap2pi, fmod is needed only beyond one turn.
    double r = std::fabs(shifted) < 360.0 ? shifted : std::fmod(shifted, 360.0);
    if (r < 0) r += 360.0;
    return r - 180.0;
}
}  // namespace

void gf_normalisePosition(double& lat, double& lon) {
    lon = lf_normaliseLongitude(lon);
    if (lat > 90.0) {
        lat = 180.0 - lat;
        lon = lf_normaliseLongitude(lon + 180.0);
    } else if (lat < -90.0) {
        lat = -180.0 - lat;
        lon = lf_normaliseLongitude(lon + 180.0);
    }
}

}  // namespace mrw

#pragma once
// Small numeric helpers of the motion code: angle wraps, tick counts, sample positions.

#include <cmath>
#include <cstdint>

#include "foundation/lalo.h"
#include "traffic/model/aircraft_records.h"

namespace mrw {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kDegPerRad = 57.29577951308232;
inline constexpr double kRadPerDeg = 0.017453292519943295;
inline constexpr double kFeetPerNm = 6076.11549;
inline constexpr double kMetresPerNm = 1852.0;
inline constexpr double kMetresPerDegree = 111132.95;
// The metres of a ground curve (laid at kMetresPerDegree) per metre over the ground as the great-circle
// distance measures it (a minute of latitude is a mile).
inline constexpr double kCurveMetresPerMetre = kMetresPerDegree / (60 * kMetresPerNm);
// Ticks per hour: a distance in nm over a speed in kt, times this, is a tick count.
inline constexpr double kTicksPerHour = 360000.0;
inline constexpr double kGravityMps2 = 9.80665;
inline constexpr double kSecondsPerTick = 0.01;
// In the air the heading error is flown out over about this many ticks, as far as bank allows.
inline constexpr double kTurnTicks = 300;
// Two positions closer than this in latitude and longitude are the same position.
inline constexpr double kSamePositionDeg = 1e-8;

// An angle in [0, 2 pi): fmod, a negative rest plus 2 pi, a rest rounded up to 2 pi becomes 0.
// Inline, as the two below: every aircraft calls them several times a tick.
inline double gf_wrap2pi(double radians) {
    constexpr double kFullTurn = 2 * kPi;
    constexpr double kLargest = 6.283185307178586;  // above it, a rest rounded up to 2 pi
    // Most angles are in the turn already: one range test returns them as they are.
    if (radians >= 0 && radians <= kLargest) return radians;
    // fmod returns an angle within one turn either way as it is: most angles skip its cost.
    double r = std::fabs(radians) < kFullTurn ? radians : std::fmod(radians, kFullTurn);
    if (r < 0) r += kFullTurn;
    if (r > kLargest) r = 0;
    return r;
}
// An angle in [-pi, pi].
inline double gf_wrapPi(double radians) {
    const double r = gf_wrap2pi(radians);
    return r > kPi ? r - 2 * kPi : r;
}

// A tick count rounded to the nearest integer; gsl::narrowing_error when it does not convert
// exactly to int32 (a NaN or infinity from a zero speed, for instance).
std::int32_t gf_roundTicks(double ticks);
// now + ticks, kept within the int32 range of due ticks.
std::int32_t gf_tickAfter(std::int64_t now, std::int64_t ticks);

inline Lalo gf_lalo(const PositionSample& sample) {
    return {sample.lat, sample.lon};
}
inline Lalo gf_lalo(const SimPosition& position) {
    return {position.lat, position.lon};
}
// Within kSamePositionDeg in both latitude and longitude.
bool gf_samePosition(Lalo a, Lalo b);

// The speed over the ground (m/s) flown in the aircraft's last tick.
double gf_stepSpeedMps(const LiveAc& ac);
// The direction of the aircraft's straight step per tick (radians), kept for the step in
// ac.stepTrack; its heading when it does not move. Inline: asked at every tick on the ground.
inline double gf_stepTrackRad(LiveAc& ac) {
    if (ac.latStep == 0 && ac.lonStep == 0) return ac.simPosition.heading;
    return ac.stepTrack.of(ac.latStep, ac.lonStep, ac.simPosition.lat);
}

// A longitude in [-180, 180); as in gf_wrap2pi, fmod is needed only beyond one turn.
inline double gf_normaliseLongitude(double lon) {
    const double shifted = lon + 180.0;
    if (shifted >= 0 && shifted < 360.0) return shifted - 180.0;  // most longitudes: one range test
    double r = std::fabs(shifted) < 360.0 ? shifted : std::fmod(shifted, 360.0);
    if (r < 0) r += 360.0;
    return r - 180.0;
}

// Brings a position onto the globe: longitude into [-180, 180), a latitude beyond a pole folded back
// with the longitude turned half round.
inline void gf_normalisePosition(double& lat, double& lon) {
    lon = gf_normaliseLongitude(lon);
    if (lat > 90.0) {
        lat = 180.0 - lat;
        lon = gf_normaliseLongitude(lon + 180.0);
    } else if (lat < -90.0) {
        lat = -180.0 - lat;
        lon = gf_normaliseLongitude(lon + 180.0);
    }
}

}  // namespace mrw

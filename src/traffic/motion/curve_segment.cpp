#include "traffic/model/curve_segment.h"

#include <algorithm>
#include <cmath>

#include "traffic/motion/motion_math.h"

namespace mrw {

bool CurveSegment::positionAt(double t, Lalo& position, double& headingRad) const {
    if (!exists() || t < t0 || t > t1) return false;
    const double u = (t - t0) / (t1 - t0);
    if (!(u >= 0.0 && u <= 1.0)) return false;
    const double s = 1.0 - u;
    const double east = 2 * s * u * controlEastM + u * u * endEastM;
    const double north = 2 * s * u * controlNorthM + u * u * endNorthM;
    double tangent = std::atan2(2 * u * (endEastM - controlEastM) + 2 * s * controlEastM,
                                2 * u * (endNorthM - controlNorthM) + 2 * s * controlNorthM);
    if (tangent < 0) tangent += 2 * kPi;
    if (tangent > 2 * kPi) tangent -= 2 * kPi;
    headingRad = tangent;
    if (!(origin.latitude == m_eastScaleLatitude)) {
        double originLat = origin.latitude;
        if (originLat > 180.0) originLat -= 360.0;
        m_metresPerDegreeEast = std::cos(originLat * kRadPerDeg) * kMetresPerDegree;
        m_eastScaleLatitude = origin.latitude;
    }
    position.latitude = origin.latitude + north / kMetresPerDegree;
    position.longitude = origin.longitude + east / m_metresPerDegreeEast;
    return true;
}

namespace {

// The length of the curve's first derivative at u, in metres per unit of u (metres never overflow a
// plain sum of squares).
double lf_speedAt(const CurveSegment& c, double u) {
    const double east = 2 * (1 - u) * c.controlEastM + 2 * u * (c.endEastM - c.controlEastM);
    const double north = 2 * (1 - u) * c.controlNorthM + 2 * u * (c.endNorthM - c.controlNorthM);
    return std::sqrt(east * east + north * north);
}

// The most of the curve a first guess of a step takes, where its speed vanishes (a cusp).
constexpr double kLargestFirstShare = 0.25;

}  // namespace

double CurveSegment::stepForMetres(double t, double metres) const {
    // The metres at the speed half way along a first guess at the speed at t: off by the third order
    // of the step. Never more than twice the first guess, which is bounded where the speed vanishes.
    const double span = t1 - t0;
    const double u = (t - t0) / span;
    const double speed = lf_speedAt(*this, u);
    const double first = speed * kLargestFirstShare > metres ? metres / speed : kLargestFirstShare;
    const double mid = lf_speedAt(*this, u + first / 2);
    return (mid * 2 * first > metres ? metres / mid : 2 * first) * span;
}

double CurveSegment::lengthM() const {
    // Chords of a sixteenth of the curve come within a fraction of a percent of the length of a
    // taxi turn.
    constexpr int kChords = 16;
    double length = 0;
    double east = 0;
    double north = 0;
    for (int i = 1; i <= kChords; ++i) {
        const double u = static_cast<double>(i) / kChords;
        const double e = 2 * (1 - u) * u * controlEastM + u * u * endEastM;
        const double n = 2 * (1 - u) * u * controlNorthM + u * u * endNorthM;
        length += std::hypot(e - east, n - north);
        east = e;
        north = n;
    }
    return length;
}

}  // namespace mrw

#include "traffic/model/curve_segment.h"

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

}  // namespace mrw

#include "foundation/geometry.h"

#include <cmath>

namespace mrw {

namespace {
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kDistanceFactorNm = 6875.493541569878;  // twice the earth radius in nm
constexpr double kFeetToRad = 4.787404208238998e-8;
constexpr double kFullTurn = 6.283185307179586;
}  // namespace

double gf_distanceNm(Lalo a, Lalo b) {
    const double lat1 = a.latitude * kDegToRad;
    const double lat2 = b.latitude * kDegToRad;
    const double dlat = lat2 - lat1;
    const double dlon = (b.longitude - a.longitude) * kDegToRad;
    const double sinLat = std::sin(dlat / 2);
    const double sinLon = std::sin(dlon / 2);
    const double h = sinLat * sinLat + std::cos(lat2) * std::cos(lat1) * sinLon * sinLon;
    return std::atan2(std::sqrt(h), std::sqrt(1 - h)) * kDistanceFactorNm;
}

double gf_bearingRad(Lalo from, Lalo to) {
    const double lat1 = from.latitude * kDegToRad;
    const double lat2 = to.latitude * kDegToRad;
    const double dlon = (to.longitude - from.longitude) * kDegToRad;
    const double y = std::sin(dlon) * std::cos(lat2);
    const double x = std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dlon);
    double theta = std::atan2(y, x);
    if (theta < 0) theta += kFullTurn;
    return theta;
}

Lalo gf_destinationPoint(Lalo start, double bearingRad, double distanceFeet) {
    const double lat1 = start.latitude * kDegToRad;
    const double d = distanceFeet * kFeetToRad;
    const double lat2 =
        std::asin(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(bearingRad));
    double lon2 =
        start.longitude * kDegToRad + std::atan2(std::sin(bearingRad) * std::sin(d) * std::cos(lat1),
                                                 std::cos(d) - std::sin(lat1) * std::sin(lat2));
    lon2 = std::remainder(lon2, kFullTurn);
    return {lat2 * kRadToDeg, lon2 * kRadToDeg};
}

}  // namespace mrw

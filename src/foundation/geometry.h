#pragma once
// Great-circle functions on a spherical earth of radius 10800/pi nautical miles.

#include "foundation/lalo.h"

namespace mrw {

// Nautical miles in one metre.
inline constexpr double kNmPerMetre = 0.0005399568034557236;

// Great-circle distance in nautical miles (haversine).
double gf_distanceNm(Lalo a, Lalo b);
// Initial bearing from `from` towards `to`, radians clockwise from true north, in [0, 2 pi).
double gf_bearingRad(Lalo from, Lalo to);
// The point reached from `start` along `bearingRad` over `distanceFeet`.
Lalo gf_destinationPoint(Lalo start, double bearingRad, double distanceFeet);

}  // namespace mrw

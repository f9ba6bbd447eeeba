#pragma once
// Helpers shared by the motion files.

#include <cstdint>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// Writes definition 401 (spoilers handle and both throttle levers, percent) on the object at once,
// under g_simConnectMutex. Nothing without an object.
void gf_writeSpoilersThrottle(std::uint32_t objectId, double spoilersPercent, double throttlePercent);

// Lays the way in the air from the aircraft to its next sample (samples[1]) into ac.airPath (none
// when no way of two arcs leads there) and returns the fastest speed (kt) at which the leg may be
// flown: fastestKt, or slower where a turn on the way would need more bank or turn rate than the
// aircraft has.
double gf_planAirPath(LiveAc& ac, double fastestKt);

}  // namespace mrw

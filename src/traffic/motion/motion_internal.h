#pragma once
// Helpers shared by the motion files.

#include <cstdint>

namespace mrw {

// Writes definition 401 (spoilers handle and both throttle levers, percent) on the object at once,
// under g_simConnectMutex. Nothing without an object.
void gf_writeSpoilersThrottle(std::uint32_t objectId, double spoilersPercent, double throttlePercent);

}  // namespace mrw

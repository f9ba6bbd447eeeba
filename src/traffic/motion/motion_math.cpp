#include "traffic/motion/motion_math.h"

#include <gsl/narrow>

#include <algorithm>
#include <cmath>
#include <limits>

namespace mrw {

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

double gf_stepSpeedMps(const LiveAc& ac) {
    return std::max(ac.stepNowM, 0.0) / kSecondsPerTick;
}

}  // namespace mrw

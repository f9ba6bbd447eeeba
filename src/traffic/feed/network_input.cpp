#include "traffic/feed/network_input.h"

#include <cmath>
#include <limits>

namespace mrw {

std::optional<std::int32_t> gf_intOfNetworkNumber(double value) {
    // Both limits are exact as doubles; the truncation of any value between them fits an int. NaN
    // fails both comparisons.
    constexpr double kLowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double kAboveHighest = static_cast<double>(std::numeric_limits<std::int32_t>::max()) + 1.0;
    if (!(value > kLowest - 1.0 && value < kAboveHighest)) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace mrw

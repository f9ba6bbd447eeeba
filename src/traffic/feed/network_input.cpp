#include "traffic/feed/network_input.h"

#include <cmath>
#include <limits>

#include "foundation/text_encoding.h"

namespace mrw {

std::string gf_quotedNetworkText(std::string_view text) {
    if (text.size() <= kMaxQuotedBytes) return std::string(text);
    return gf_utf8Prefix(text, kMaxQuotedBytes) + "...";
}

std::optional<std::int32_t> gf_intOfNetworkNumber(double value) {
    // Both limits are exact as doubles; the truncation of any value between them fits an int. NaN
    // fails both comparisons.
    constexpr double kLowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double kAboveHighest = static_cast<double>(std::numeric_limits<std::int32_t>::max()) + 1.0;
    if (!(value > kLowest - 1.0 && value < kAboveHighest)) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace mrw

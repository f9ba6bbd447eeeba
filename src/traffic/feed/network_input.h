#pragma once
// Values taken from RealTraffic's datagrams and answers, made safe before use: a quoted text is cut
// so that a log line stays small, and a number is range-checked as a double before any conversion
// (a float or int conversion of a value out of range is undefined behaviour).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mrw {

// A log line quotes at most this many bytes of a text from the network.
inline constexpr std::size_t kMaxQuotedBytes = 200;

// The text, or its first kMaxQuotedBytes bytes (never half a UTF-8 character) followed by "...".
std::string gf_quotedNetworkText(std::string_view text);

// The value truncated to an int; nothing when it is not finite or lies outside the int range.
std::optional<std::int32_t> gf_intOfNetworkNumber(double value);

}  // namespace mrw

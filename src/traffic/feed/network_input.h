#pragma once
// Numbers taken from RealTraffic's datagrams and answers, range-checked as a double before any
// conversion (a float or int conversion of a value out of range is undefined behaviour).

#include <cstdint>
#include <optional>

namespace mrw {

// The value truncated to an int; nothing when it is not finite or lies outside the int range.
std::optional<std::int32_t> gf_intOfNetworkNumber(double value);

}  // namespace mrw

#pragma once
// The 48 half hours of a UTC day as a bit set (bit n = slot n), and its "hh" text: slot numbers
// joined by ',' or one inclusive range "a:b".

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace mrw {

using HalfHourSet = std::bitset<48>;

// Never fails: unreadable parts are logged and left out; a rejected range gives the empty set.
HalfHourSet gf_hours2bitset(std::string_view text);
// "3,4,17"; no value for the empty set.
std::optional<std::string> gf_bitsetToList(const HalfHourSet& set);
// "a" for one slot, "a:b" for one unbroken run; no value for the empty set or a set with a gap.
std::optional<std::string> gf_bitsetToRange(const HalfHourSet& set);

}  // namespace mrw

#pragma once
// The wall clock of the program, behind a seam so that tests can set "now" without sleeping.

#include <cstdint>
#include <functional>

namespace mrw {

// Seconds since 1970-01-01 00:00:00 UTC.
std::int64_t gf_wallClockSeconds();

// Replaces the wall clock (tests); an empty function restores the computer's clock.
void gf_setWallClockForTests(std::function<std::int64_t()> clock);

}  // namespace mrw

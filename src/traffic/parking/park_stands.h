#pragma once
// Finding a stand of the park airport by its number. Main worker only.

#include <cstdint>

#include "airports/stand.h"

namespace mrw {

// The stand with that number (binary search: g_parkStands is sorted by number); null for a number
// of 0 or less or one that no stand has.
Stand* gf_findParkStand(std::int32_t standNumber);
// Sets or clears the occupied flag of the park stand with the number; nothing for 0 or less.
void lf_setStandOccupied(std::int32_t standNumber, bool occupied);

}  // namespace mrw

#include "traffic/parking/park_stands.h"

#include <algorithm>

#include "traffic/parking/static_parking.h"

namespace mrw {

Stand* gf_findParkStand(std::int32_t standNumber) {
    if (standNumber <= 0) return nullptr;
    const auto stand =
        std::lower_bound(g_parkStands.begin(), g_parkStands.end(), standNumber,
                         [](const Stand& s, std::int32_t number) { return s.number < number; });
    return stand != g_parkStands.end() && stand->number == standNumber ? &*stand : nullptr;
}

void lf_setStandOccupied(std::int32_t standNumber, bool occupied) {
    if (Stand* stand = gf_findParkStand(standNumber)) stand->occupied = occupied;
}

}  // namespace mrw

#include "traffic/engine/stand_use_learning.h"

#include "traffic/parking/park_stands.h"

namespace mrw {

std::string gf_standName(std::int32_t standNumber) {
    if (standNumber == 0) return "sid==0?";
    const Stand* stand = gf_findParkStand(standNumber);
    return stand != nullptr ? stand->id : "sid==?";
}

}  // namespace mrw

#include "traffic/engine/aircraft_records.h"

namespace mrw {

// No stand is chosen yet: an aircraft born on the ground taxis.
std::optional<Stand> LiveAc::standForGroundBirth() {
    return std::nullopt;
}

// No stand is chosen yet: a parking aircraft stops where its samples end.
void LiveAc::try2Park(bool /*wide*/) {}

}  // namespace mrw

#include "traffic/engine/aircraft_records.h"

namespace mrw {

// No stand is chosen yet: an aircraft born on the ground taxis.
std::optional<Stand> LiveAc::standForGroundBirth() {
    return std::nullopt;
}

}  // namespace mrw

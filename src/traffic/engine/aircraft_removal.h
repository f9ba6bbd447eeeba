#pragma once
// Taking aircraft out of the simulator: queued creations withdrawn, objects queued for removal, and
// the stands' occupied flags. Main worker only.

#include <cstdint>
#include <deque>
#include <string_view>

#include "traffic/sim/sim_queues.h"

namespace mrw {

// Removes every queued request with the callsign, keeping the order of the others; true when at
// least one was removed. An empty callsign withdraws nothing.
bool gf_withdrawCreateRequest(std::deque<CreateRequest>& queue, std::string_view callsign);

// Sets or clears the occupied flag of the park airport's stand with that number, when it exists.
void lf_setStandOccupied(std::int32_t standNumber, bool occupied);

}  // namespace mrw

#pragma once
// Taking aircraft out of the simulator (StaticAc::removeAircraftFromSim) and its helpers. Main
// worker only.

#include <cstdint>
#include <deque>
#include <string_view>

#include "traffic/model/sim_queues.h"

namespace mrw {

// Removes every queued request with the callsign (an empty callsign withdraws nothing), keeping the
// order of the others; true when at least one was removed.
bool gf_withdrawCreateRequest(std::deque<CreateRequest>& queue, std::string_view callsign);
// Sets or clears the occupied flag of the park stand with the number; nothing for 0 or less.
void lf_setStandOccupied(std::int32_t standNumber, bool occupied);

}  // namespace mrw

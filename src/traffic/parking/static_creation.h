#pragma once
// Making static aircraft from the parking plan, one per call, best fitting first. Main worker only.

#include <string>

namespace mrw {

// Makes the static aircraft of the plan's last entry and queues its creation at the stand, or drops
// the entry when the stand is taken or no livery fits.
void lf_detcs();

// The callsign of a static aircraft made from a use's callsign: trailing '_' removed, then '*'
// appended unless it ends in one ("" gives "*").
std::string lf_staticCallsign(std::string callsign);

}  // namespace mrw

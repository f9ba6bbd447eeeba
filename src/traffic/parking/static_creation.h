#pragma once
// Creation of static aircraft from the parking plan.

namespace mrw {

// Makes the static aircraft of the plan's last entry and queues its creation (or drops the entry).
void lf_detcs();

}  // namespace mrw

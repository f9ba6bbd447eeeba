#pragma once
// The engine's side of the simulator events: the drain, the activation of created objects and what
// a removed object means for its record. Main worker only.

#include <cstdint>

namespace mrw {

// Drains g_simEvents in posting order under g_simEventMutex, then counts the created objects.
void lf_processSimEvents();
// Live objects toggle their lights at their 50th and 100th tick and become "active" at the 201st;
// static objects become "active" and parked at the 201st.
void lf_activateCreatedObjects();
// The simulator removed the object: its record goes (a livery respawn goes back to "buffer").
void lf_onObjectRemoved(std::uint32_t objectId);

}  // namespace mrw

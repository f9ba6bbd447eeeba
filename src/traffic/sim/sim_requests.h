#pragma once
// Sending the queued requests of traffic/model/sim_queues.h to the simulator. SimConnect client
// thread, or under g_simConnectMutex.

#include <cstdint>

#include "foundation/thread_safety.h"
#include "traffic/model/sim_queues.h"

namespace mrw {

// On every simulator frame (client thread): sends everything queued, in the order position updates,
// client events, creations, removals. Only tries the mutex: when it is busy everything waits for the
// next frame. After a SimConnect error it empties the queues and sends nothing.
void gf_flushSimRequests();

// Sends one creation and remembers it in g_pendingCreates; a failed call ends the run through
// gf_simRequestError. The caller holds g_simConnectMutex.
void gf_createAiAircraft(const CreateRequest& request) REQUIRES(g_simConnectMutex);

// Sends one removal; ids not above the user aircraft's are refused with an error line. A failed
// call ends the run through gf_simRequestError. The caller holds g_simConnectMutex.
void gf_removeAiObject(std::uint32_t objectId) REQUIRES(g_simConnectMutex);

}  // namespace mrw

#pragma once
// The hand-over between the engine (main worker) and the SimConnect client thread: the outbound
// request queues, flushed on each simulator frame, and the creations sent but not yet recognised.

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/clock.h"
#include "platform/simconnect/simconnect.h"
#include "traffic/model/aircraft_records.h"

namespace mrw {

// One AI aircraft to create.
struct CreateRequest {
    SIMCONNECT_DATA_INITPOSITION initPosition{};  // pitch, bank and heading in degrees
    std::string callsign;                         // tail number; the created object reports it as its ATC ID
    // Livery title: an own copy, so an emptied livery catalogue never leaves it dangling.
    std::string title;
    int hexid = 0;  // live hexid (above 10000) or static number (10000 or less)

    // Appends a copy to g_createRequests under g_simConnectMutex.
    void queue() const;
};

// A creation that was sent and whose object is not yet known.
struct PendingCreate {
    std::uint32_t sendId = 0;
    int hexid = 0;
    std::string callsign;
    SteadyTime sentAt{};
};

// New position and attitude for one AI object; the first 64 bytes are the data of definition 402.
struct PositionUpdate {
    SimPosition position;
    std::uint32_t objectId = 0;
};

// One client event (206 to 222) for one AI object.
struct ClientEventRequest {
    std::uint32_t objectId = 0;
    std::uint32_t eventId = 0;
    std::uint32_t data = 0;
};

// Guards the four outbound queues, the two buffer pointers and the SimConnect calls made off the
// client thread.
inline std::mutex g_simConnectMutex;

// Double buffer of position updates: the engine appends to *g_positionUpdatesIn during a tick
// (main worker only, no lock); the flush sends *g_positionUpdatesOut (under g_simConnectMutex).
inline std::vector<PositionUpdate> g_positionUpdateBuffers[2];
inline std::vector<PositionUpdate>* g_positionUpdatesIn = &g_positionUpdateBuffers[0];
inline std::vector<PositionUpdate>* g_positionUpdatesOut = &g_positionUpdateBuffers[1];

inline std::vector<ClientEventRequest> g_clientEvents;  // g_simConnectMutex
inline std::vector<CreateRequest> g_createRequests;     // g_simConnectMutex
inline std::vector<std::uint32_t> g_removeRequests;     // g_simConnectMutex
inline std::vector<PendingCreate> g_pendingCreates;     // SimConnect client thread only

// At each run start, before the client thread starts: room for 256 elements in both position-update
// buffers, the creation and removal queues, g_pendingCreates and g_justAddedObjects; clears the
// SimConnect error flag.
void gf_resetSimQueues();

}  // namespace mrw

#pragma once
// The hand-over between the engine (main worker) and the SimConnect client thread: the outbound
// request queues, flushed on each simulator frame, and the creations sent but not yet recognised.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/clock.h"
#include "foundation/thread_safety.h"
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

// The callsign of a creation given up, and when (traffic/sim/creation_recognition.h).
struct GivenUpCreation {
    std::string callsign;
    SteadyTime at;
};

// Guards the four outbound queues, the two buffer pointers and the SimConnect calls made off the
// client thread.
inline Mutex g_simConnectMutex;

// The requests on their way to the simulator and the creations it has not answered yet: one owner,
// renewed whole at the run reset, so that nothing of an earlier run is sent in the next.
struct SimQueues {
    SimQueues() = default;
    SimQueues(const SimQueues&) = delete;

    // Every queue empty and the buffers in their first order: a fresh value, so no queue is left
    // out. Only while no client thread runs.
    void renew() REQUIRES(g_simConnectMutex);

    // Double buffer of position updates: the engine appends to *positionUpdatesIn during a tick
    // (main worker only, no lock); the flush sends *positionUpdatesOut. The pointers are swapped
    // under g_simConnectMutex.
    std::vector<PositionUpdate> positionUpdateBuffers[2];
    std::vector<PositionUpdate>* positionUpdatesIn = &positionUpdateBuffers[0];  // main worker only
    std::vector<PositionUpdate>* positionUpdatesOut GUARDED_BY(g_simConnectMutex)
        PT_GUARDED_BY(g_simConnectMutex) = &positionUpdateBuffers[1];

    std::vector<ClientEventRequest> clientEvents GUARDED_BY(g_simConnectMutex);
    std::vector<CreateRequest> createRequests GUARDED_BY(g_simConnectMutex);
    std::vector<std::uint32_t> removeRequests GUARDED_BY(g_simConnectMutex);
    // The rest belongs to the SimConnect client thread.
    std::vector<PendingCreate> pendingCreates;
    // Ids announced by ObjectAdded and not yet seen in the in-range data with an ATC ID.
    std::vector<std::uint32_t> justAddedObjects;
    // Given-up creations whose objects have not shown themselves; each is kept kRecognitionTime.
    std::vector<GivenUpCreation> givenUpCreations;

  private:
    // Takes the buffer pointers as they are: renew points them back into this object's buffers.
    SimQueues& operator=(SimQueues&&) = default;
};
inline SimQueues g_simQueues;

inline auto& g_positionUpdateBuffers = g_simQueues.positionUpdateBuffers;
inline auto& g_positionUpdatesIn = g_simQueues.positionUpdatesIn;
// Reading the pointer needs the lock, so whatever it points to is reached only under it.
inline auto& g_positionUpdatesOut GUARDED_BY(g_simConnectMutex) = g_simQueues.positionUpdatesOut;
inline auto& g_clientEvents GUARDED_BY(g_simConnectMutex) = g_simQueues.clientEvents;
inline auto& g_createRequests GUARDED_BY(g_simConnectMutex) = g_simQueues.createRequests;
inline auto& g_removeRequests GUARDED_BY(g_simConnectMutex) = g_simQueues.removeRequests;
inline auto& g_pendingCreates = g_simQueues.pendingCreates;

// At each run start, before the client thread starts: room for 256 elements in both position-update
// buffers, the creation and removal queues, g_pendingCreates and g_justAddedObjects; clears the
// SimConnect error flag.
void gf_resetSimQueues();

}  // namespace mrw

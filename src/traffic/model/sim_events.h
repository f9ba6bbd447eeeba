#pragma once
// What the SimConnect client thread learns about the AI objects, handed to the engine as SimEvents.

#include <cstdint>
#include <vector>

#include "foundation/thread_safety.h"
#include "traffic/model/sim_queues.h"

namespace mrw {

enum class SimEventType : std::int32_t {
    LiveCreated = 0,
    StaticCreated = 1,
    Removed = 2,
    InRange = 3,
    StaticCg = 4,
    // 5 is not used.
    CreateFailed = 6,
};

struct SimEvent {
    std::uint32_t objectId = 0;  // 0 when the event has none
    // Hexid of a live aircraft or number of a static one; for InRange the on-ground value.
    std::int32_t hexid = 0;
    std::int32_t ticks = 0;  // 0 when posted; counts ticks in g_createdObjects (-1 = done)
    SimEventType type = SimEventType::LiveCreated;
    double value1 = 0.0;
    double value2 = 0.0;
};

// A created object counted up to its activation: a copy of its LiveCreated or StaticCreated event.
struct CreatedObject {
    std::uint32_t objectId = 0;
    std::int32_t hexid = 0;
    std::int32_t ticks = 0;  // ticks since the event was drained; -1 when done
    std::int32_t type = 0;   // 0 live, 1 static
};

// Appended by the SimConnect client thread, drained by the main worker; guarded by g_simEventMutex.
// Held for the whole drain; g_simConnectMutex may be taken inside it, never the other way round.
inline Mutex g_simEventMutex ACQUIRED_BEFORE(g_simConnectMutex);
// The events on their way to the engine.
struct SimEventQueue {
    // No event waiting.
    void renew() REQUIRES(g_simEventMutex) { *this = SimEventQueue{}; }

    std::vector<SimEvent> simEvents GUARDED_BY(g_simEventMutex);
};
inline SimEventQueue g_simEventQueue;

inline auto& g_simEvents GUARDED_BY(g_simEventMutex) = g_simEventQueue.simEvents;

// Appends a copy under g_simEventMutex. Client thread only, never while it holds g_simConnectMutex.
void gf_postSimEvent(const SimEvent& event) EXCLUDES(g_simConnectMutex);

}  // namespace mrw

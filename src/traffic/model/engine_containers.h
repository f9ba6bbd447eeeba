#pragma once
// The engine's clock and containers, and the intake of the Traffic Reader's reports. The containers
// belong to the main worker; the intake is guarded by g_trafficMutex; the simulator events are in
// traffic/model/sim_events.h. Each group has one owner whose renew() gives it a fresh value, so that
// a container added to it cannot be forgotten by the reset; the g_ names are its members.

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "foundation/thread_safety.h"
#include "traffic/model/aircraft_records.h"
#include "traffic/model/sim_events.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/traffic_report.h"

namespace mrw {

// Engine ticks (10 ms) since the process started; counted at the end of every tick, never reset.
// The Traffic Reader reads it to stamp new samples due 3000 ticks later.
inline std::atomic<std::int32_t> g_engineTick{0};
// The QNH in hPa for the approach logic, published by the QNH Reader; 1013 at start and after the
// engine's reset.
inline std::atomic<std::int32_t> g_qnh{1013};

// The engine's containers. Main worker only.
struct EngineContainers {
    // Every container empty. Its capacity goes too; lf_resetEngine reserves it again.
    void renew() { *this = EngineContainers{}; }

    std::vector<LiveAc> liveAcs;      // one per hexid
    std::vector<StaticAc> staticAcs;  // every static aircraft
    // Spawned live aircraft whose creation request is still to be built; taken from the back.
    std::vector<std::int32_t> addingStack;
    std::deque<CreateRequest> liveCreateQueue;    // first in, first out
    std::deque<CreateRequest> staticCreateQueue;  // served only while no live creation waits
    std::deque<std::uint32_t> removeQueue;        // object ids waiting for removal
    std::vector<CreatedObject> createdObjects;    // counted up to their activation
    // Set when removeAircraftFromSim flags a record to be erased: the next tick erases the flagged
    // static records (live ones it erases whenever their update reports the flag).
    bool erasureFlagged = false;
    // Hexids whose creation position was prepared, or whose aircraft touched down.
    std::unordered_set<std::int32_t> inSimHexids;
    // Callsigns of removed ghost aircraft; a buffered ghost found here is not spawned.
    std::vector<std::string> removedGhosts;
    // Live callsigns taken from the Traffic Reader for a static-parking update.
    std::unordered_set<std::string> liveCallsigns;
};
inline EngineContainers g_engineContainers;

inline auto& g_liveAcs = g_engineContainers.liveAcs;
inline auto& g_staticAcs = g_engineContainers.staticAcs;
inline auto& g_addingStack = g_engineContainers.addingStack;
inline auto& g_liveCreateQueue = g_engineContainers.liveCreateQueue;
inline auto& g_staticCreateQueue = g_engineContainers.staticCreateQueue;
inline auto& g_removeQueue = g_engineContainers.removeQueue;
inline auto& g_createdObjects = g_engineContainers.createdObjects;
inline auto& g_erasureFlagged = g_engineContainers.erasureFlagged;
inline auto& g_inSimHexids = g_engineContainers.inSimHexids;
inline auto& g_removedGhosts = g_engineContainers.removedGhosts;
inline auto& g_liveCallsigns = g_engineContainers.liveCallsigns;

// Reports from the Traffic Reader, oldest first. The engine takes 200 a second; beyond this many the
// oldest gives way to the newest, so that a flood of records cannot grow the queue without end.
inline constexpr std::size_t kMaxTrafficReports = 4000;
// Taken before g_simConnectMutex, never after it.
inline Mutex g_trafficMutex ACQUIRED_BEFORE(g_simConnectMutex);

// The intake of the Traffic Reader's reports into the engine.
struct TrafficIntake {
    // No report waiting and the intake closed.
    void renew() REQUIRES(g_trafficMutex) { *this = TrafficIntake{}; }

    std::deque<TrafficReport> trafficReports GUARDED_BY(g_trafficMutex);
    // Intake open: the Traffic Reader queues accepted records only while it is set.
    bool injectionActive GUARDED_BY(g_trafficMutex) = false;
};
inline TrafficIntake g_trafficIntake;

inline auto& g_trafficReports GUARDED_BY(g_trafficMutex) = g_trafficIntake.trafficReports;
inline auto& g_injectionActive GUARDED_BY(g_trafficMutex) = g_trafficIntake.injectionActive;

// Removes every queued request with the callsign (an empty callsign withdraws nothing), keeping the
// order of the others; true when at least one was removed.
bool gf_withdrawCreateRequest(std::deque<CreateRequest>& queue, std::string_view callsign);

}  // namespace mrw

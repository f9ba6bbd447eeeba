#pragma once
// The engine's clock and containers. All belong to the main worker except g_trafficReports
// (g_trafficMutex) and the simulator events (traffic/engine/sim_events.h).

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

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

inline std::vector<LiveAc> g_liveAcs;      // one per hexid
inline std::vector<StaticAc> g_staticAcs;  // every static aircraft
// Spawned live aircraft whose creation request is still to be built; taken from the back.
inline std::vector<std::int32_t> g_addingStack;
inline std::deque<CreateRequest> g_liveCreateQueue;    // first in, first out
inline std::deque<CreateRequest> g_staticCreateQueue;  // served only while no live creation waits
inline std::deque<std::uint32_t> g_removeQueue;        // object ids waiting for removal
inline std::vector<CreatedObject> g_createdObjects;    // counted up to their activation
// Set when removeAircraftFromSim flags a record to be erased: the next tick erases the flagged
// static records (live ones it erases whenever their update reports the flag).
inline bool g_erasureFlagged = false;
// Hexids whose creation position was prepared, or whose aircraft touched down.
inline std::unordered_set<std::int32_t> g_inSimHexids;
// Callsigns of removed ghost aircraft; a buffered ghost found here is not spawned.
inline std::vector<std::string> g_removedGhosts;
// Live callsigns taken from the Traffic Reader for a static-parking update.
inline std::unordered_set<std::string> g_liveCallsigns;

// Reports from the Traffic Reader, oldest first. The engine takes 200 a second; beyond this many the
// oldest gives way to the newest, so that a flood of records cannot grow the queue without end.
inline constexpr std::size_t kMaxTrafficReports = 4000;
inline std::mutex g_trafficMutex;
inline std::deque<TrafficReport> g_trafficReports;  // g_trafficMutex

// Removes every queued request with the callsign (an empty callsign withdraws nothing), keeping the
// order of the others; true when at least one was removed.
bool gf_withdrawCreateRequest(std::deque<CreateRequest>& queue, std::string_view callsign);

}  // namespace mrw

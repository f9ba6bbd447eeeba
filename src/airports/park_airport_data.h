#pragma once
// The park airport's data that static parking works on: the park airport, its stands, what its
// file said, the count of stand uses learned since its airport file was read, the user's reserved
// stand. The airport files write it; the engine's static parking reads it. Main worker only, apart
// from g_parkFileLoaded, which the window's handlers read too, g_userStandName, which the window
// paints, and the code of g_parkAirport, which the SimConnect client compares under the engine's
// g_parkAirportsMutex: the main worker changes the code only while holding it.

#include <atomic>
#include <cstdint>
#include <vector>

#include "airports/airport.h"
#include "airports/learned_airport_files.h"
#include "airports/stand.h"
#include "foundation/atomic_optional_double.h"
#include "foundation/guarded_text.h"

namespace mrw {

// The park airport; an empty code means that none is set.
inline Airport g_parkAirport;
// The park airport's stands, numbered 1 to n in vector order once its file is read (so sorted by
// number).
inline std::vector<Stand> g_parkStands;
// The airport name, publisher and altitude of the park airport's file.
inline ApfInfo g_parkApfInfo;
// Set once the park airport's file is read; static parking runs only while it is set.
inline std::atomic<bool> g_parkFileLoaded{false};
// The RT_traffic_week value of the park airport's file; 0 when it has none.
inline std::int32_t g_rtTrafficWeek = 0;
// Stand uses recorded since the park airport's file was read; the window shows it as "# updates".
inline std::int32_t g_optionCount = 0;
// The name of the stand kept free for the user aircraft at the park airport; empty when none.
inline GuardedText g_userStandName;
// The park airport's altitude in feet while a park airport is set (the traffic reader's ground
// elevation); written by the main worker.
inline AtomicOptionalDouble g_groundElevation;
// A park airport was just chosen: its file is read at the next park-airport pass.
inline bool g_readParkFilePending = false;

}  // namespace mrw

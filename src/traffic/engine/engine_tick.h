#pragma once
// The engine tick (10 ms) and the life of the engine's containers. Main worker only.

#include <cstdint>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// One engine tick: simulator events, live aircraft, position hand-over, the rate-limited queues,
// up to 2 traffic reports, one creation request, the periodic requests; then g_engineTick += 1.
void lf_handleAddingStack();
// Reserves the containers' capacities; does its work only at the first call in the process.
void lf_reserveEngine();
// Empties the engine's containers at the end of a run; g_engineTick keeps its value.
void lf_resetEngine();
// Erases one live record: the last record takes its place (the order is not kept).
void lf_eraseLiveAc(LiveAc& aircraft);

}  // namespace mrw

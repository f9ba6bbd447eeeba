#pragma once
// The main worker of one run: checks, data, run start, main loop and run end.

#include <atomic>
#include <cstdint>
#include <utility>

#include "aircraft/livery_scan_pool.h"
#include "foundation/simulator_choice.h"
#include "traffic/feed/realtraffic_mode.h"

namespace mrw {

// The aircraft database read was attempted in this process: it is read once per process.
inline std::atomic<bool> g_dbaseLoaded{false};

// The packed form of g_weekSlotNow (main_loop.h); -1 when either part is unknown.
std::int64_t gf_packWeekSlot(std::pair<int, int> weekdayAndSlot);
// g_weekSlotNow := the week slot of the traffic clock now.
void gf_refreshWeekSlot();

// The thread body of one run (started by the window for every WM_APP_START_RUN and detached):
// start-up, run start, main loop, and always the run end, which posts the next WM_APP_START_RUN or
// WM_APP_QUIT.
void lf_startUpMRWV();

}  // namespace mrw

#pragma once
// The main worker of one run: checks, data, run start, main loop and run end.

#include <atomic>
#include <cstdint>
#include <utility>

namespace mrw {

// True while the 2020 simulator is selected (SIM_CHOICE is exactly "MSFS 2020"); set at every run start.
inline std::atomic<bool> g_msfs2020{true};
// 1 for the 2020 simulator, 2 for the 2024 simulator; set together with g_msfs2020.
inline std::atomic<std::int32_t> g_simId{1};

// The most aircraft.cfg workers of the liveries scan that run at once: the hardware threads, or 2
// when the platform reports none; set before each scan.
inline std::atomic<std::int32_t> g_scanThreadLimit{2};
// The liveries-scan workers holding a slot; reset to 0 before each scan. A worker's slot is given
// back once, when it ends or when the scan gives up waiting for it.
inline std::atomic<std::int32_t> g_scanThreadsRunning{0};

// Where RealTraffic runs, decided at every run start: it picks the readers' bind address and
// whether the TCP link is used.
enum class RealTrafficMode : std::int32_t {
    ConfiguredAddress = 0,  // at RT_IP_ADDRESS: readers bind that address; TCP link used
    ThisPc = 1,             // on this PC: readers bind 127.0.0.1; TCP link used
    OtherPc = 2,            // on another PC: readers bind any address; no TCP link
};
inline std::atomic<RealTrafficMode> g_realTrafficMode{RealTrafficMode::OtherPc};

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

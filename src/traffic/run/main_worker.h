#pragma once
// The main worker of one run: checks, data, run start, main loop and run end.

#include <atomic>
#include <cstdint>

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

// The body of one main worker: start-up, run start, main loop, run end. Started by the window for
// each WM_APP_START_RUN; never throws.
void lf_startUpMRWV();

// Where RealTraffic runs, decided at every run start: it picks the readers' bind address and
// whether the TCP link is used.
enum class RealTrafficMode : std::int32_t {
    ConfiguredAddress = 0,  // at RT_IP_ADDRESS: readers bind that address; TCP link used
    ThisPc = 1,             // on this PC: readers bind 127.0.0.1; TCP link used
    OtherPc = 2,            // on another PC: readers bind any address; no TCP link
};
inline std::atomic<RealTrafficMode> g_realTrafficMode{RealTrafficMode::OtherPc};

}  // namespace mrw

#pragma once
// Which simulator the run serves, chosen at every run start and read by every floor (object id
// texts, airport files, scans, the engine).

#include <atomic>
#include <cstdint>

namespace mrw {

// True while the 2020 simulator is selected (SIM_CHOICE is exactly "MSFS 2020"); set at every run start.
inline std::atomic<bool> g_msfs2020{true};
// 1 for the 2020 simulator, 2 for the 2024 simulator; set together with g_msfs2020.
inline std::atomic<std::int32_t> g_simId{1};

}  // namespace mrw

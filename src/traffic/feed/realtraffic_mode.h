#pragma once
// Where RealTraffic runs, as the run start decides it for the readers and the link.

#include <atomic>
#include <cstdint>

namespace mrw {

// Where RealTraffic runs, decided at every run start: it picks the readers' bind address and
// whether the TCP link is used.
enum class RealTrafficMode : std::int32_t {
    ConfiguredAddress = 0,  // at RT_IP_ADDRESS: readers bind that address; TCP link used
    ThisPc = 1,             // on this PC: readers bind 127.0.0.1; TCP link used
    OtherPc = 2,            // on another PC: readers bind any address; no TCP link
};
inline std::atomic<RealTrafficMode> g_realTrafficMode{RealTrafficMode::OtherPc};

}  // namespace mrw

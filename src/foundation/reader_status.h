#pragma once
// The lamp of a RealTraffic reader in the main window.

#include <cstdint>

namespace mrw {

enum class ReaderStatus : std::int32_t {
    Off = 0,
    Receiving = 1,
    NothingNew = 2,  // no datagram since the last lamp check
    Stopped = 3,
};

}  // namespace mrw

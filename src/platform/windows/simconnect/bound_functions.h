#pragma once
// The SimConnect functions of the bound DLL, which our SimConnect_* calls forward to; null until
// bound (the calls then fail with E_FAIL).

#include <atomic>

#include "platform/simconnect/simconnect_library.h"

namespace platform {

inline std::array<std::atomic<SimConnectProc>, kSimConnectFunctions.size()> g_boundFunctions{};

}  // namespace platform

#pragma once
// The TCP link to RealTraffic.

#include <atomic>

namespace mrw {

// Set when RealTraffic's version answer reports the professional edition; read by the traffic clock.
inline std::atomic<bool> g_rtProfessional{false};

}  // namespace mrw

#pragma once
// The TCP link to RealTraffic.

#include <atomic>

namespace mrw {

// Set when RealTraffic's version answer reports the professional edition; read by the traffic clock.
inline std::atomic<bool> g_rtProfessional{false};

// No RealTraffic client has answered in this run yet; set again by the run reset.
inline std::atomic<bool> g_awaitingRealTraffic{true};

// Says "exit" to a connected RealTraffic client and closes the link's sockets; also called by the
// window's close button on the UI thread.
void lf_closeRealTrafficLink();

}  // namespace mrw

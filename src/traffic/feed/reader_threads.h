#pragma once
// The two RealTraffic reader objects, the threads that run them, and their lamps in the main
// window.

#include <cstdint>
#include <string_view>

#include "traffic/feed/qnh_reader.h"
#include "traffic/feed/traffic_reader.h"

namespace mrw {

inline constexpr std::uint16_t kTrafficPort = 49005;
inline constexpr std::uint16_t kWeatherPort = 49004;

// The readers exist for the whole process (created on first use, never destroyed); each run starts
// new threads on them.
TrafficReader& g_trafficReader();
QnhReader& g_qnhReader();

// Start the reader's thread on the port. The thread of the previous run is waited for first (it
// ends within its 1 s receive time-out once stopped), so two threads never share a reader. At
// process exit the readers are stopped and waited for before the objects they use go.
void gf_startTrafficReader(std::uint16_t port = kTrafficPort);
void gf_startQnhReader(std::uint16_t port = kWeatherPort);
// Sets the stop request of both readers.
void gf_stopReaders();
// Waits until both reader threads of the run have ended.
void gf_waitForReaders();

// The start values of the reader side when RealTraffic connects or its link is lost: the Traffic
// Reader's start values, both stop requests cleared, the QNH Reader's QNH 1013 and counts 0, both
// lamp latches set.
void gf_resetReaderSide();

// A reader thread whose socket work failed: the message, then READER ERROR with a 15 s restart.
void gf_readerStopped(std::string_view readerName, std::string_view error);

// The lamp check: for each reader, 2 when no datagram arrived since the last check, else 1 (once).
// Nothing unless RealTraffic is ready.
void gf_updateReaderLamps();

}  // namespace mrw

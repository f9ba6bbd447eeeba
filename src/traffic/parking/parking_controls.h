#pragma once
// The static-parking controls while a parking update runs: disabled from its start until its plan
// is used up. Called from the main worker and the UI thread; only flags and cross-thread-safe
// window calls.

#include <atomic>

namespace mrw {

// A static-parking update is running (from gf_disableParkingControls to gf_enableParkingControls).
inline std::atomic<bool> g_parkingUpdateRunning{false};
// The Now button may be enabled (while INITIAL_LOAD_ONLY is off); only ever set.
inline std::atomic<bool> g_nowButtonAllowed{false};

// Marks an update as running and disables the static-parking controls (Now only while
// INITIAL_LOAD_ONLY is off).
void gf_disableParkingControls();
// Marks the update as finished, shows 20 minutes to the next one and enables the controls again.
void gf_enableParkingControls();
// The Now button by INITIAL_LOAD_ONLY: enabled only while it is off and Now is allowed.
void gf_enableNowButtonByOption();

}  // namespace mrw

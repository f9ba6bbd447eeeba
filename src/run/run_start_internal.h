#pragma once
// The run start, for the main worker and the tests.

namespace mrw {

// Engine, SimConnect client, a running flight, the RealTraffic side and the readers; false when a
// stop request came during one of its waits.
bool lf_startRun();
// Waits until a flight runs and the user position is known; false on a stop request.
bool lf_waitForFlight();

}  // namespace mrw

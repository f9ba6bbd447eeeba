#pragma once
// Steps of the engine tick, for the tests.

namespace mrw {

// Every 10th tick one removal, every 50th one creation (live before static).
void lf_feedSimQueues();
// Every 20th tick the aircraft in range and the user position to RealTraffic; every 100th a fresh
// copy of the user aircraft's data.
void lf_requestObjectsInRange();

}  // namespace mrw

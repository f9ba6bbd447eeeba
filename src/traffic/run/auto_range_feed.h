#pragma once
// What the automatic range needs of the running flight, handed over by the main worker.

namespace mrw {

// Publishes the user aircraft's on-ground state, altitude and position and the first listed park
// airport as the automatic range's inputs. Main worker: at the run start and every second, so that
// the range the run start, the 30-second duty and the AUTO_RANGE check box apply is the flight's own.
void gf_publishAutoRangeInputs();

}  // namespace mrw

#pragma once
// The renewal of the static parking every 20 minutes (or on "Now"): static aircraft whose use
// still fits stay, those reported live or out of time go, a turnaround is made again under its
// second callsign, live aircraft parked too long are removed, and free stands are planned anew so
// that the parked aircraft come back to the wanted number. Main worker only.

#include "traffic/model/aircraft_records.h"
#include "traffic/parking/parking_plan.h"

namespace mrw {

// The second step of a static-parking update, with a park airport and its stands.
void lf_adjustParking();

}  // namespace mrw

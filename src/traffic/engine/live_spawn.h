#pragma once
// The per-tick update of a live aircraft, its spawn and what follows its creation. Main worker.

#include "traffic/model/aircraft_records.h"
#include "traffic/model/sim_events.h"

namespace mrw {

// One tick of one live aircraft; true when the record now carries an erase flag.
bool updateLiveAc(LiveAc& aircraft);
// Livery, birth mode and creation position; "adding2sim" and onto the adding stack.
void spawnLiveAc(LiveAc& aircraft);
// A stream with samples both in the air and on the ground: its front is dropped until it is one or
// the other, since the aircraft cannot be born half taking off or landing.
bool gf_mixesAirAndGround(const SampleStream& samples);
// The simulator created the aircraft's object; false (event ignored) for an object id of 2 or less.
bool lf_onLiveObjectCreated(LiveAc& aircraft, const SimEvent& created);

}  // namespace mrw

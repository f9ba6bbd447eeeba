#pragma once
// Recognition of the AI objects the program created, whatever the simulator's range measure. While
// a creation waits, every object the simulator announces is asked for its data by its id, so one
// created beyond the in-range radius (or leaving it before the next in-range answer) is recognised
// too. A creation still not recognised after kRecognitionTime is given up as a refused one, and its
// object is removed when it shows itself later: no AI object of the program is left behind.
// Client thread only.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/clock.h"
#include "traffic/model/sim_queues.h"

namespace mrw {

inline constexpr std::chrono::seconds kRecognitionTime{30};

// Given-up creations whose objects have not shown themselves; each is kept kRecognitionTime. Renewed
// with the SimConnect queues.
inline auto& g_givenUpCreations = g_simQueues.givenUpCreations;

// While a creation waits (or a given-up one may still show itself), asks the simulator once for the
// in-range data of the announced object (request 101 by its id); the answer is recognised like
// in-range data.
void gf_askForCreatedObject(std::uint32_t objectId);

// On every frame, after the flush: gives up the creations sent kRecognitionTime ago or earlier (each
// leaves g_pendingCreates and reaches the engine as CreateFailed), and once a second asks every
// object still waiting for recognition again.
void gf_followCreations();

// True when the callsign is that of a given-up creation: the object is removed at once.
bool gf_removeIfGivenUp(std::uint32_t objectId, const std::string& atcId);

}  // namespace mrw

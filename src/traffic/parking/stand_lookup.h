#pragma once
// The stand at a position, for every thread: the main worker publishes the park airport's stand ids
// and positions after each read or clear of g_parkStands; the SimConnect client thread and the main
// worker look them up. Only the published copy and the last answer are shared, under one small
// mutex, so a lookup never walks g_parkStands while the worker rewrites it.

#include <string>

#include "foundation/lalo.h"

namespace mrw {

// Copies the ids and positions of g_parkStands for the lookup and forgets the last answer. Main
// worker only, after every read or clear of g_parkStands.
void gf_publishParkStands();

// The id of the nearest published stand within 55 m of the position; empty when there is none, when
// no stand is published or while the user aircraft is not on the ground. The last searched position
// and its answer are kept: the same position (within 1e-8 degrees) is answered without a search.
std::string gf_standNameAt(const Lalo& position);

}  // namespace mrw

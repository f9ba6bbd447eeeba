#pragma once
// Parts of the liveries scan that the tests reach directly.

#include "aircraft/livery_data.h"

#include <list>

namespace mrw {

// Keeps, for every airline, operator and model, only the liveries of the smallest priority that
// has one (all of them); the cargo flag is no part of the combination.
void gf_thinByPriority(std::list<LiveryData>& liveries);

}  // namespace mrw

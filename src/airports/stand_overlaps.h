#pragma once
// Which stands of an airport overlap: two stands overlap when their radii together exceed 1.1 times
// the distance of their centres.

#include <vector>

#include "airports/stand.h"

namespace mrw {

// Fills every stand's `overlaps` with the numbers of the other stands it overlaps, in ascending
// order. Stands are sorted into cells at least as large as the largest overlap distance, so the
// work grows with the number of stands, not with its square.
void gf_findStandOverlaps(std::vector<Stand>& stands);

}  // namespace mrw

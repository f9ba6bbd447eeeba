#pragma once
// The live indexes' rebuild counts, for the tests that show which changes keep the index without
// a pass over the list.

#include <cstdint>

namespace mrw {

// Rebuilds of the live object index since the process started.
std::int64_t gf_liveObjectIndexRebuilds();
// Rebuilds of the live hexid index since the process started.
std::int64_t gf_liveHexidIndexRebuilds();

}  // namespace mrw

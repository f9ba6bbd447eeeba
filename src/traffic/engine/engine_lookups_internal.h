#pragma once
// The object index's rebuild count, for the tests that show which changes keep the index without
// a pass over the list.

#include <cstdint>

namespace mrw {

// Rebuilds of the live object index since the process started.
std::int64_t gf_liveObjectIndexRebuilds();

}  // namespace mrw

#pragma once
// Static parking at the park airport: its stands and the count of stand uses learned since its
// airport file was read. Main worker only.

#include <cstdint>
#include <vector>

#include "airports/stand.h"

namespace mrw {

// The park airport's stands, numbered 1 to n in vector order once its file is read (so sorted by
// number).
inline std::vector<Stand> g_parkStands;
// Stand uses recorded since the park airport's file was read; the window shows it as "# updates".
inline std::int32_t g_optionCount = 0;

}  // namespace mrw

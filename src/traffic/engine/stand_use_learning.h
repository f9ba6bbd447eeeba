#pragma once
// Stand uses learned from live traffic at the park airport, and the stand names of the engine's log
// lines. Main worker only.

#include <cstdint>
#include <string>

namespace mrw {

// The id of the park airport's stand with that number; "sid==0?" for 0, "sid==?" for a negative
// number or one that no stand has.
std::string gf_standName(std::int32_t standNumber);

}  // namespace mrw

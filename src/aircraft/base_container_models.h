#pragma once
// The ICAO model codes of the simulator's own base aircraft, which an aircraft.cfg names in its
// base_container key.

#include <string>
#include <string_view>

namespace mrw {

// The model code of a base aircraft (a base_container value without its first three characters;
// exact, with case), upper-cased; "" when the table does not know it.
std::string gf_baseContainerModel(std::string_view container);

}  // namespace mrw

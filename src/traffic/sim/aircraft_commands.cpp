#include "traffic/sim/aircraft_commands.h"

namespace mrw {

void gf_setNavLights(std::uint32_t /*objectId*/, std::uint32_t /*value*/) {}

}  // namespace mrw

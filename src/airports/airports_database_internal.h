#pragma once
// For tests: forget the airports database so that the next gf_readAirports reads the file again.

namespace mrw {

void gf_resetAirportsDatabase();

}  // namespace mrw

#pragma once
// For tests: forget the airports database so that the next gf_readAirports reads the file again.

namespace mrw {

void lf_resetAirportsDatabase();

}  // namespace mrw

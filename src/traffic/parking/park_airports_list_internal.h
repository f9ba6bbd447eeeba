#pragma once
// The line test of the park-airports writer, for the tests.

#include <string>

#include "traffic/parking/park_airports_list.h"

namespace mrw {

// When the file line belongs to the entry's airport (its first part is the code as written), it
// becomes `newLine` and the result is true.
bool lf_updateReservedStand(const ParkAirportEntry& entry, const std::string& newLine, std::string& fileLine);

}  // namespace mrw

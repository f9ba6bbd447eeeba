#pragma once
// Static parking at the park airport: the counts of parked aircraft. The park airport's data that
// it works on is in airports/park_airport_data.h.

#include <cstdint>

#include "airports/park_airport_data.h"

namespace mrw {

// The active static aircraft (and those being removed), and the active live aircraft that are
// parked. With withAverage their average fit is shown too.
std::uint64_t gf_countStaticParked(bool withAverage);
std::uint64_t gf_countLiveParked(bool withAverage);

}  // namespace mrw

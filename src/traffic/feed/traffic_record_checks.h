#pragma once
// The checks of a traffic record that decide what kind of object it is and whether it is on the
// ground.

#include <cstdint>
#include <optional>
#include <string_view>

#include "traffic/engine/aircraft_records.h"

namespace mrw {

// The record is an aircraft: a type that is neither empty nor "null" nor a pseudo type, and an
// emitter category other than "B1", "B2", "B4", "C1", "C2".
bool gf_isRealAircraft(std::string_view type, std::string_view emitterCategory);
// A type longer than 4 characters, or one of the ground-object and balloon types.
bool gf_isPseudoType(std::string_view type);
// Corrects the sample's altitude (towards the user's altimeter above 17,000 ft; 0 on the ground) and
// returns whether the record is kept under AIRBORNE_ONLY.
bool gf_checkAirborne(PositionSample& sample, std::optional<double> groundElevationFt, std::int32_t qnh);

}  // namespace mrw

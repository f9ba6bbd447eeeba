#pragma once
// The checks of a traffic record that decide what kind of object it is, whether it is on the ground
// and whether its numbers are those of a real aircraft.

#include <cstdint>
#include <optional>
#include <string_view>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// The record is an aircraft: a type that is neither empty nor "null" nor a pseudo type, and an
// emitter category other than "B1", "B2", "B4", "C1", "C2".
bool gf_isRealAircraft(std::string_view type, std::string_view emitterCategory);
// A type longer than 4 characters, or one of the ground-object and balloon types.
bool gf_isPseudoType(std::string_view type);
// Corrects the sample's altitude (towards the user's altimeter above 17,000 ft; 0 on the ground) and
// returns whether the record is kept under AIRBORNE_ONLY.
bool gf_checkAirborne(PositionSample& sample, std::optional<double> groundElevationFt, std::int32_t qnh);

// What no real aircraft exceeds, each with a wide margin. A record beyond one of them was not sent
// by an aircraft, and its numbers would overflow the engine's arithmetic.
struct PhysicalLimit {
    std::string_view name;  // the field's name in the error text
    double lowest;
    double highest;
};
// The fastest aircraft ever flown made about 1,900 kt (ground speed and true airspeed; the sign is
// left free, as a feed may mark an unknown speed with -1).
inline constexpr double kMaxSpeedKt = 2500.0;
inline constexpr PhysicalLimit kGroundSpeedLimit{"gs", -kMaxSpeedKt, kMaxSpeedKt};
inline constexpr PhysicalLimit kTrueAirspeedLimit{"TAS", -kMaxSpeedKt, kMaxSpeedKt};
// The lowest ground lies about 1,400 ft below the sea, and no aircraft climbs above 90,000 ft; the
// floor leaves room for a pressure altitude read on a high-pressure day.
inline constexpr PhysicalLimit kAltitudeLimit{"altitude", -5000.0, 150000.0};
// The fastest climbs recorded are about 50,000 ft/min.
inline constexpr PhysicalLimit kVerticalRateLimit{"vs", -100000.0, 100000.0};
// A direction in degrees, either way round.
inline constexpr PhysicalLimit kTrackLimit{"track", -360.0, 360.0};

// The value when it lies within the limit; else throws std::runtime_error "{} out of range: {}" with
// the limit's name and the value.
double gf_withinLimit(double value, const PhysicalLimit& limit);

}  // namespace mrw

#include "traffic/feed/traffic_record_checks.h"

#include <algorithm>
#include <array>
#include <set>
#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "config/parameter_catalogue.h"
#include "traffic/feed/traffic_reader.h"

namespace mrw {

namespace {

// The blend of the altimeter correction runs from 17,000 ft (none) to 19,000 ft (full).
constexpr double kBlendStartFt = 17000.0;
constexpr double kBlendWidthFt = 2000.0;
constexpr double kStandardQnh = 1013.25;
constexpr double kFeetPerHpa = 30.0;
// Below this the on-ground decision looks at the height above the park airport.
constexpr double kGroundCheckCeilingFt = 14000.0;
// Without a park airport, no ground lies this high: only the speed rule can put an aircraft down.
constexpr double kNoGroundElevationFt = -1000.0;
constexpr double kTaxiSpeedKt = 35.0;
// Kept under AIRBORNE_ONLY only this far above the park airport.
constexpr double kAirborneMarginFt = 150.0;

bool lf_onGround(double heightFt, double groundSpeedKt) {
    return heightFt <= 0.0 || (heightFt <= 42.0 && groundSpeedKt <= 120.0) ||
           (heightFt <= 84.0 && groundSpeedKt <= 80.0) || (heightFt <= 120.0 && groundSpeedKt <= 43.0);
}

}  // namespace

bool gf_isPseudoType(std::string_view type) {
    static const std::set<std::string, std::less<>> pseudoTypes = {"BALL", "EMER", "GLID", "GRND", "GND",
                                                                   "PARA", "SERV", "SHIP", "VENT", "TWR"};
    return type.size() > 4 || pseudoTypes.contains(type);
}

bool gf_isRealAircraft(std::string_view type, std::string_view emitterCategory) {
    static constexpr std::array<std::string_view, 5> notAircraft = {"B1", "B2", "B4", "C1", "C2"};
    if (type.empty() || type == "null") return false;
    if (std::find(notAircraft.begin(), notAircraft.end(), emitterCategory) != notAircraft.end()) return false;
    return !gf_isPseudoType(type);
}

bool gf_checkAirborne(PositionSample& sample, std::optional<double> groundElevationFt, std::int32_t qnh) {
    double a = sample.altitudeFt;
    if (a <= 0.0) {
        a = 0.0;
    } else {
        const double t = std::clamp((a - kBlendStartFt) / kBlendWidthFt, 0.0, 1.0);
        const double f = (3.0 - 2.0 * t) * t * t;
        const UserAltitudes user = TrafficReader::userAltitudes.load();
        const double corrected = a + (user.altitudeFt - user.indicatedAltitudeFt) -
                                 (static_cast<double>(qnh) - kStandardQnh) * kFeetPerHpa;
        a = std::max(0.0, f * corrected + (1.0 - f) * a);
        if (a > 0.0 && a < kGroundCheckCeilingFt &&
            lf_onGround(a - groundElevationFt.value_or(kNoGroundElevationFt), sample.groundSpeedKt)) {
            a = 0.0;
        }
        if (sample.groundSpeedKt <= kTaxiSpeedKt && a > 0.0) a = 0.0;
    }
    sample.altitudeFt = a;
    if (!g_parameters().AIRBORNE_ONLY.current) return true;
    const auto park = TrafficReader::parkAirport.load();
    return a - (park ? park->elevationFt : 0.0) > kAirborneMarginFt;
}

double gf_withinLimit(double value, const PhysicalLimit& limit) {
    if (value >= limit.lowest && value <= limit.highest) return value;
    throw std::runtime_error(fmt::format("{} out of range: {}", limit.name, value));
}

}  // namespace mrw

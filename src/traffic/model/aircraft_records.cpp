#include "traffic/model/aircraft_records.h"

#include <array>
#include <numbers>
#include <stdexcept>
#include <utility>

#include <fmt/format.h>

#include "aircraft/code_tables.h"
#include "aircraft/wingspans.h"
#include "config/random_helpers.h"
#include "traffic/model/category_tables.h"

namespace mrw {

namespace {

// Pitch values of a profile vary by +/- these percentages, so aircraft of one type do not move in step.
constexpr double kRotationPitchJitterPercent = 2.5;
constexpr double kClimbPitchJitterPercent = 5.0;
constexpr double kDegToRad = std::numbers::pi / 180.0;

template <std::size_t N>
std::string_view lf_nameAt(const std::array<std::string_view, N>& names, std::int32_t value,
                           const char* what) {
    if (value < 0 || static_cast<std::size_t>(value) >= N) {
        throw std::out_of_range(fmt::format("{}: no name for {}", what, value));
    }
    return names[static_cast<std::size_t>(value)];
}

AcCategory lf_categoryOfModel(CodeIndex model) {
    // Copy the text: the table may grow on another thread while gf_modelIndex looks it up.
    const std::string code = g_modelCodes().text(model);
    if (code.empty()) return AcCategory::Light;
    return gf_acCategory(gf_modelIndex(code));
}

}  // namespace

StaticAc::StaticAc(AcProfile&& profile, std::int32_t standNumber, Lalo standPosition, double standHeadingRad,
                   bool standCargo)
    : AcProfile(std::move(profile)),
      standPosition(standPosition),
      standHeadingRad(standHeadingRad),
      standNumber(standNumber),
      standCargo(standCargo) {}

LiveAc::LiveAc(const PositionSample& firstSample, AcProfile&& profile, double reportTime)
    : StaticAc(std::move(profile), 0, Lalo{}, 0.0, false), samples{firstSample}, lastReportTime(reportTime) {}

AcProfile gf_makeAcProfile(const AircraftIdentity& identity) {
    AcProfile profile;
    static_cast<AircraftIdentity&>(profile) = identity;
    profile.halfSpanNm = gf_halfWingspanNm(identity.designation.model);
    profile.category = lf_categoryOfModel(identity.designation.model);
    const std::size_t slot = gf_categorySlot(profile.category);
    profile.flareTicks = g_flareTicks[slot];
    profile.touchdownTicks = g_touchdownTicks[slot];
    profile.rotationTicks = g_rotationTicks[slot];
    profile.climbPitchTicks = g_climbPitchTicks[slot];
    profile.rotationPitchRad =
        gf_randomJitter(g_rotationPitchDeg[slot], kRotationPitchJitterPercent) * kDegToRad;
    profile.climbPitchRad = gf_randomJitter(g_climbPitchDeg[slot], kClimbPitchJitterPercent) * kDegToRad;
    profile.turnRatePerTick = g_turnRatePerTick[slot];
    return profile;
}

std::string_view gf_phaseName(FlightPhase phase) {
    static const std::array<std::string_view, 8> names = {"pushing_back", "pushed_back", "taxi",   "take_off",
                                                          "flying",       "parking",     "parked", "birth"};
    return lf_nameAt(names, static_cast<std::int32_t>(phase), "gf_phaseName");
}

std::string_view gf_simStateName(SimState state) {
    static const std::array<std::string_view, 5> names = {"buffer", "adding2sim", "active", "liveryrespawn",
                                                          "removingfromsim"};
    return lf_nameAt(names, static_cast<std::int32_t>(state), "gf_simStateName");
}

}  // namespace mrw

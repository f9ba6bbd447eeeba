#pragma once
// Who an aircraft is (AircraftIdentity) and what livery matching and motion need of it (AcProfile).
// The livery matching of this floor fills them; the traffic engine's records build on them.

#include <cstdint>
#include <string>
#include <string_view>

#include "aircraft/ac_category.h"
#include "aircraft/ac_designation.h"
#include "foundation/fixed_code.h"

namespace mrw {

struct AircraftIdentity {
    AcDesignation designation;
    FixedCode<3> origin;       // empty = none
    FixedCode<3> destination;  // empty = none
    // The callsign pair below was already looked for in the stand options.
    bool optionCallsignsTaken = false;
    std::string callsign;         // may be empty
    std::string optionCallsign;   // first callsign of a pair taken over from a matching stand use
    std::string optionCallsign2;  // second callsign of that pair
    std::string registration;     // empty when the aircraft has none
};

struct AcProfile : AircraftIdentity {
    double halfSpanNm = 0.0;
    double staticCgFt = 0.0;        // reported by the simulator for the created object; 0 until then
    double staticPitchRad = 0.0;    // 0 until reported
    double rotationPitchRad = 0.0;  // negative = nose up
    double climbPitchRad = 0.0;
    double turnRatePerTick = 0.0;    // radians
    double turnStep = 0.0;           // current heading step per tick (radians)
    double maxVerticalStepFt = 0.0;  // largest altitude change per tick
    double manoeuvreSpeedKt = 0.0;   // pushback, towing, driving onto a stand
    // RealTraffic hexid of a live aircraft (above 10000) or the number of a static one (10000 or less).
    std::uint32_t hexid = 0;
    AcCategory category = AcCategory::Light;
    // View of the chosen livery title, whose text the livery catalogue owns; empty = no livery. Valid
    // until the catalogue is emptied, which happens only on the main worker at the end of a run.
    std::string_view liveryTitle;
    std::int32_t flareTicks = 0;
    std::int32_t touchdownTicks = 0;
    std::int32_t rotationTicks = 0;
    std::int32_t climbPitchTicks = 0;
    // The chosen title contains "FSLTL_" (a livery of the FSLTL package).
    bool fsltlLivery = false;
};

}  // namespace mrw

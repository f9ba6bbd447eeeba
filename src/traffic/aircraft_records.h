#pragma once
// The records of the aircraft the traffic engine handles: who an aircraft is (AircraftIdentity) and
// its profile (AcProfile). Plain values with one owner, the engine's vectors on the main worker.
//
// Only the fields that livery matching and the aircraft texts use are here so far; the engine adds
// its performance values, StaticAc and LiveAc to this file.

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
    bool optionCallsignsTaken = false;
    std::string callsign;
    std::string optionCallsign;
    std::string optionCallsign2;
    std::string registration;  // empty when the aircraft has none
};

struct AcProfile : AircraftIdentity {
    AcCategory category = AcCategory::Light;
    // View of the chosen livery title, whose text the livery catalogue owns; empty = no livery. Valid
    // until the catalogue is emptied, which happens only on the main worker at the end of a run.
    std::string_view liveryTitle;
    // The chosen title contains "FSLTL_" (a livery of the FSLTL package).
    bool fsltlLivery = false;
};

}  // namespace mrw

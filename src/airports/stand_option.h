#pragma once
// One use of a stand: an aircraft (designation, registration, callsigns) seen at the stand on one
// weekday in some half hours, read from an airport file or learned while running.

#include <cstdint>
#include <string>

#include "aircraft/ac_designation.h"
#include "foundation/half_hour_set.h"

namespace mrw {

struct StandOption {
    AcDesignation designation;  // fromDbase set when taken from the aircraft database by registration
    std::string registration;
    std::string callsign;        // without a trailing '_'
    std::string secondCallsign;  // another callsign seen for this use; empty when none
    HalfHourSet halfHours;
    std::int32_t sequence = 0;  // number within its stand, from 1; 0 = inactive (skipped everywhere)
    std::int32_t day = 0;       // weekday 1 (Monday) to 7
    std::int32_t origin = 0;    // 1 = read from an airport file, 0 = added while running
    std::int32_t real = 1;      // 1 = seen in real traffic, 0 = soft use
    bool cpl = false;
};

}  // namespace mrw

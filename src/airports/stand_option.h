#pragma once
// One use of a stand: an aircraft (designation, registration, callsigns) seen at the stand on one
// weekday in some half hours, read from an airport file or learned while running.

#include <cstdint>
#include <string>

#include "aircraft/ac_designation.h"
#include "foundation/half_hour_set.h"

namespace mrw {

class Stand;

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

    // Whether static parking may use it at the stand in the target weekday and half hour: active,
    // of that weekday (today mode), real or soft as asked, covering the half hour, not a helipad
    // while HELICOPTERS is off, the stand not blocked and no active static aircraft on an
    // overlapping stand within the two half spans. A half hour above 47 throws std::out_of_range.
    bool matches(bool real, bool today, int weekday, int halfHour, const Stand& stand) const;
};

}  // namespace mrw

#pragma once
// Learning the stand uses of the park airport from the live aircraft seen standing at its stands,
// and the stand lookups of the engine's log lines. Main worker only.

#include <cstdint>
#include <string>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// g_weekSlotNow as weekday and half-hour slot.
WeekSlot gf_currentWeekSlot();

// The stand's id; "sid==0?" for 0, "sid==?" for a negative number or one no park stand has.
std::string gf_standName(std::int32_t standNumber);

// Records that the aircraft stands at the stand now. Modes: 0 arrived by towing or driving, or a
// known aircraft checked again; 1 born at the stand; 2 and 3 still parked at a later sample (cpl).
void lf_addRealStandOption(std::int32_t standNumber, LiveAc& aircraft, int mode);
// Extends option `sequence` from its last use to now when the gap is shorter than the learning
// span; true when the use is taken care of.
bool lf_addStandOption(WeekSlot now, Stand& stand, std::int32_t sequence, WeekSlot lastUse, LiveAc& aircraft,
                       const std::string& registration, bool cpl);
// Gives the aircraft the callsign pair of a matching option of the park stands.
void lf_takeOptionCallsigns(WeekSlot now, LiveAc& aircraft);

}  // namespace mrw

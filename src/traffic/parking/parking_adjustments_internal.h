#pragma once
// The steps of the parking adjustments, for the tests.

#include <cstdint>

#include "traffic/model/aircraft_records.h"
#include "traffic/parking/parking_plan.h"

namespace mrw {

// Fills g_liveParked with the live parked aircraft that stay; removes those parked too long.
void lf_collectLiveParked();
// Sorts the active static aircraft into kept (g_staticReview), removed and replaced.
void lf_reviewStatics(WeekSlot slot);
// A static aircraft and the plan entry `planIndex` want the same stand: the later use wins.
void lf_settleStaticAgainstPlan(const StaticAc& aircraft, std::size_t planIndex);
// Whether a use of the stand with the aircraft's registration and designation still fits the time.
bool lf_standUseFits(WeekSlot slot, std::int32_t standNumber, const AircraftIdentity& identity);

}  // namespace mrw

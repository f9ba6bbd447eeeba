#pragma once
// The static parking calculation: how many static aircraft the park airport wants, and which stand
// gets which aircraft, from the stand uses of the current half hour of the week, widening the fit
// window half hour by half hour in the modes real, week/real, soft and week/soft. Main worker only.

#include "traffic/model/aircraft_records.h"

namespace mrw {

// The wanted number of static aircraft; also shown as the window's max park and its percentage.
int lf_wantedStaticCount();
// The full calculation into g_parkingPlan; called after the park airport's file was read.
void lf_calculateStaticParking();
// Logs the day line and returns the current weekday and half hour.
WeekSlot lf_logParkingDay();
// Marks the user's reserved stand and the stand under the user excluded.
void lf_excludeUserStand();
// Runs the mode searches until the plan and `existing` parked aircraft reach `wanted`.
void lf_searchAllModes(WeekSlot slot, int wanted, int existing);

}  // namespace mrw

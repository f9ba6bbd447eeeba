#pragma once
// Per-category limits of air motion, constant tables indexed by category; a value that is no
// category throws std::out_of_range.

#include "aircraft/ac_category.h"

namespace mrw {

double liftOffSpeedKt(AcCategory category);       // ground speed at which the aircraft lifts off
double maxBankRad(AcCategory category);           // largest bank
double maxBankRatePerTick(AcCategory category);   // largest bank change per tick (radians)
double maxPitchRatePerTick(AcCategory category);  // largest pitch change per tick (radians)

}  // namespace mrw

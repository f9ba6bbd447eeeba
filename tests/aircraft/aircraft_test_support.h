#pragma once
// Helpers of the aircraft tests: a Log.txt in the test's program folder, and emptying the
// process-wide aircraft data that the program itself never empties.

#include "support/logged_program_folder.h"

#include <string>

namespace mrwtest {

// Empties the code tables, the fixes, the category sets, the database containers, the wingspans,
// the livery catalogue's indexes and the similar-model tables.
void resetAircraftData();

}  // namespace mrwtest

#pragma once
// Helpers of the airports tests: a program folder with Log.txt open in it, and emptying the
// process-wide data that the tests fill.

#include "support/logged_program_folder.h"

namespace mrwtest {

// Empties the airports database, the park airport's stands and counters, and the flags that the
// airport-file writer reads.
void resetAirportsData();

}  // namespace mrwtest

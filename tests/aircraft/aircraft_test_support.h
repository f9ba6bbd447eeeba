#pragma once
// Helpers of the aircraft tests: a Log.txt in the test's program folder, and emptying the
// process-wide aircraft data that the program itself never empties.

#include "support/test_support.h"

#include <string>

namespace mrwtest {

// A program folder that is the working folder, with Log.txt open in it while the object lives.
class LoggedProgramFolder : public ProgramFolder {
  public:
    LoggedProgramFolder();
    ~LoggedProgramFolder();
    std::string logText() const;
};

// Empties the code tables, the fixes, the category sets, the database containers, the wingspans,
// the livery catalogue's indexes and the similar-model tables.
void resetAircraftData();

}  // namespace mrwtest

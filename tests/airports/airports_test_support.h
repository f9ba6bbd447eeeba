#pragma once
// Helpers of the airports tests: a program folder with Log.txt open in it, and emptying the
// process-wide data that the tests fill.

#include <string>

#include "support/test_support.h"

namespace mrwtest {

// A program folder that is the working folder, with Log.txt open in it while the object lives.
class AirportsProgramFolder : public ProgramFolder {
  public:
    AirportsProgramFolder();
    ~AirportsProgramFolder();
    std::string logText() const;
};

// Empties the airports database, the park airport's stands and counters, and the flags that the
// airport-file writer reads.
void resetAirportsData();

}  // namespace mrwtest

#pragma once
// Helpers of the airports tests: a program folder with Log.txt open in it, and emptying the
// process-wide data that the tests fill.

#include <gtest/gtest.h>

#include "support/logged_program_folder.h"

namespace mrwtest {

// Empties the airports database, the park airport's stands and counters, and the flags that the
// airport-file writer reads.
void resetAirportsData();

// A test in a program folder with Log.txt, with the airports data and the aircraft database's
// registration records emptied before and after it.
class AirportsDataTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    LoggedProgramFolder folder;
};

}  // namespace mrwtest

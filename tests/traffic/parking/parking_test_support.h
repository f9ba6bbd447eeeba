#pragma once
// Helpers of the static-parking tests: a program folder with Log.txt and the traffic state emptied
// around each test, airports and stands built in the test, and aircraft records.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "airports/stand.h"
#include "support/logged_program_folder.h"
#include "traffic/engine/aircraft_records.h"

namespace mrwtest {

// Every setting at its default; no park airport, stands, aircraft, queues, park airports list or
// user data; the airports database empty.
void resetParkingState();

// Adds an airport to the airports database (kept sorted by code).
void addAirport(const std::string& code, double latitude, double longitude);

// A stand of type 12 (every category) with a radius of 20 m at the position; no uses.
mrw::Stand makeStand(const std::string& id, double latitude, double longitude);
// Makes the stands the park airport's, numbered 1 to n in order, and publishes them for the lookup.
void setParkStands(std::vector<mrw::Stand> stands);

// A test in a program folder with Log.txt and the traffic state emptied before and after it.
class ParkingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string log() const { return folder.logText(); }

    LoggedProgramFolder folder;
};

}  // namespace mrwtest

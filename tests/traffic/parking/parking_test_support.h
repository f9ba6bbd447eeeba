#pragma once
// Helpers of the static-parking tests: a program folder with Log.txt and the traffic state emptied
// around each test, airports and stands built in the test, and aircraft records.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "aircraft/code_table.h"
#include "airports/stand.h"
#include "support/logged_program_folder.h"
#include "traffic/model/aircraft_records.h"

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

// g_weekSlotNow := the weekday (1 Monday) and half-hour slot.
void setNow(int weekday, int slot);

// A real use of the stand, active, with airline index 1 and model index 1 unless changed.
struct UseSpec {
    UseSpec(int weekday, std::initializer_list<int> slots, std::string callsign, std::string registration)
        : day(weekday),
          halfHours(slots),
          callsign(std::move(callsign)),
          registration(std::move(registration)) {}
    UseSpec& second(std::string text) {
        secondCallsign = std::move(text);
        return *this;
    }
    UseSpec& withModel(mrw::CodeIndex index) {
        model = index;
        return *this;
    }
    UseSpec& soft() {
        real = false;
        return *this;
    }

    int day;
    std::vector<int> halfHours;
    std::string callsign;
    std::string registration;
    mrw::CodeIndex airline = 1;
    mrw::CodeIndex model = 1;
    std::string secondCallsign;
    bool real = true;
};
// Appends the use with the next sequence number.
void addUse(mrw::Stand& stand, const UseSpec& spec);

// An active static aircraft on the park stand with that number.
mrw::StaticAc& addStatic(std::int32_t standNumber, const std::string& callsign,
                         const std::string& optionCallsign, const std::string& registration,
                         mrw::CodeIndex model = 1);
// An active live aircraft of the hexid with the phase and stand.
mrw::LiveAc& addLive(std::uint32_t hexid, const std::string& callsign, mrw::FlightPhase phase,
                     std::int32_t standNumber = 0);

// A test in a program folder with Log.txt and the traffic state emptied before and after it.
class ParkingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    std::string log() const { return folder.logText(); }

    LoggedProgramFolder folder;
};

}  // namespace mrwtest

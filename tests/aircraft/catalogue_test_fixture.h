#pragma once
// The fixture of the livery catalogue and matching tests: a LiveriesScanned.xml of 36 liveries
// (several airlines, an airline with an operator, passenger and cargo liveries, generic "ZZZ" and
// private "PVT" liveries, light, business-jet, heavy and rotorcraft models, an FSLTL title) and an
// aircraft database fixture with categories, similar types and registration prefix groups.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "aircraft/ac_designation.h"
#include "aircraft/ac_profile.h"
#include "aircraft/code_table.h"
#include "aircraft_test_support.h"

namespace mrwtest {

struct FixtureLivery {
    std::string airline;
    std::string operatorCode;  // empty: none
    std::string model;
    bool cargo = false;
    std::string title;
    std::string registration;  // empty: none
};

// The 36 liveries of the full fixture.
const std::vector<FixtureLivery>& fixtureLiveries();

// Writes output/LiveriesScanned.xml holding the liveries in the given order.
void writeLiveriesScanned(const std::vector<FixtureLivery>& liveries);

// Empties the catalogue, the registration-code store, the matching counters and the failed-title
// sets; resets the settings the catalogue and matching read.
void resetCatalogueState();

mrw::CodeIndex airlineIndex(std::string_view code);
mrw::CodeIndex modelIndex(std::string_view code);

// A profile of the airline (optionally operated by another) and model, with its category.
mrw::AcProfile makeAircraft(std::string_view airline, std::string_view operatorCode, std::string_view model,
                            bool cargo, std::string_view registration, std::string_view callsign = "TST123");

// The log's lines, without their line feeds.
std::vector<std::string> logLines(const std::string& log);
// The same without the lines that saving a setting writes ("NAME=value" and error lines).
std::vector<std::string> logLinesWithoutSettings(const std::string& log);
// The value stored for the setting in parameters.xml; empty when there is none.
std::string storedSetting(const std::string& name);

class CatalogueTest : public ::testing::Test {
  protected:
    // Seeds the database fixture; RANDOM off, MATCHING_DEPTH 4.
    void SetUp() override;
    void TearDown() override;

    // Writes the liveries and runs the start-up processing.
    void buildCatalogue(const std::vector<FixtureLivery>& liveries = fixtureLiveries());
    // The special entries of the fixture's offline list, merged as the offline processing does.
    static void mergeFixtureSpecials();

    LoggedProgramFolder folder;
};

}  // namespace mrwtest

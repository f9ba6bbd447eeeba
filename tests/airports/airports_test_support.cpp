#include "airports_test_support.h"

#include "aircraft/aircraft_database.h"
#include "airports/airports_database.h"
#include "airports/airports_database_internal.h"
#include "airports/learned_airport_files.h"
#include "airports/park_airport_data.h"
#include "airports/quality_factors.h"
#include "foundation/window_model.h"

namespace mrwtest {

void resetAirportsData() {
    mrw::gf_resetAirportsDatabase();
    mrw::g_icaoAirportCodes.clear();
    mrw::g_parkStands.clear();
    mrw::g_optionCount = 0;
    mrw::g_mainWindow().updatesCount = 0;
    mrw::g_qualityFactors = {};
    mrw::g_handmade = false;
}

void AirportsDataTest::SetUp() {
    resetAirportsData();
    mrw::g_dbaseRecords().clear();
}

void AirportsDataTest::TearDown() {
    resetAirportsData();
    mrw::g_dbaseRecords().clear();
}

}  // namespace mrwtest

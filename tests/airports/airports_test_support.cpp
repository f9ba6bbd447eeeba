#include "airports_test_support.h"

#include <mutex>

#include "airports/airports_database.h"
#include "airports/airports_database_internal.h"
#include "airports/learned_airport_files.h"
#include "airports/quality_factors.h"
#include "app/main_window.h"
#include "foundation/log.h"
#include "traffic/static_parking.h"

namespace mrwtest {

namespace {

void closeLog() {
    std::lock_guard lock(mrw::g_logMutex());
    if (mrw::g_logStream().is_open()) mrw::g_logStream().close();
}

}  // namespace

AirportsProgramFolder::AirportsProgramFolder() {
    closeLog();
    mrw::gf_openLog();
}

AirportsProgramFolder::~AirportsProgramFolder() {
    closeLog();
}

std::string AirportsProgramFolder::logText() const {
    return readFile(*this / "Log.txt");
}

void resetAirportsData() {
    mrw::lf_resetAirportsDatabase();
    mrw::g_icaoAirportCodes.clear();
    mrw::g_parkStands.clear();
    mrw::g_optionCount = 0;
    mrw::g_mainWindow().updatesCount = 0;
    mrw::g_qualityFactors = {};
    mrw::g_handmade = false;
}

}  // namespace mrwtest

#include "aircraft_test_support.h"

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"
#include "foundation/log.h"

#include <mutex>

namespace mrwtest {

namespace {

void closeLog() {
    std::lock_guard lock(mrw::g_logMutex());
    if (mrw::g_logStream().is_open()) mrw::g_logStream().close();
}

}  // namespace

LoggedProgramFolder::LoggedProgramFolder() {
    closeLog();
    mrw::gf_openLog();
}

LoggedProgramFolder::~LoggedProgramFolder() {
    closeLog();
}

std::string LoggedProgramFolder::logText() const {
    return readFile(*this / "Log.txt");
}

void resetAircraftData() {
    mrw::g_airlineCodes().resetForTests();
    mrw::g_modelCodes().resetForTests();
    mrw::g_modelFixes().clear();
    for (auto* set : {&mrw::g_largeModelSet(), &mrw::g_heavyModelSet(), &mrw::g_buzjetModelSet(),
                      &mrw::g_highPerfModelSet(), &mrw::g_rotorcraftModelSet()}) {
        set->clear();
    }
}

}  // namespace mrwtest

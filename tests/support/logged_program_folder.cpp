#include "support/logged_program_folder.h"

#include <mutex>

#include "foundation/log.h"

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

}  // namespace mrwtest

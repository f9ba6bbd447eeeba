#include "run/run_test_support.h"

#include <filesystem>
#include <mutex>

#include "aircraft/aircraft_test_support.h"
#include "aircraft/livery_catalogue.h"
#include "airports/airports_database_internal.h"
#include "app/main_window.h"
#include "foundation/time_texts.h"
#include "foundation/window_model.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "run/run_end_internal.h"
#include "support/process_data_directory.h"
#include "support/settings_reset.h"
#include "support/test_window.h"
#include "traffic/sim/sim_test_support.h"

namespace mrwtest {

namespace {

std::vector<UINT>& lf_posted() {
    static std::vector<UINT> posted;
    return posted;
}

LRESULT lf_mainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == mrw::WM_APP_START_RUN || message == mrw::WM_APP_QUIT) lf_posted().push_back(message);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void copyFolderInto(const std::filesystem::path& from, const std::filesystem::path& into) {
    for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(from))
        std::filesystem::copy(entry.path(), into / entry.path().filename(),
                              std::filesystem::copy_options::recursive);
}

void resetRunSettings() {
    resetSettings();
    mrw::g_stopRequested = false;
    mrw::g_windowClosing = false;
    mrw::g_exitReason = mrw::ExitReason::NotYetSet;
    mrw::g_restartDelay = 0;
    mrw::g_restartPending = false;
    mrw::g_catalogueClearRequest = false;
    mrw::g_trafficTime = 0.0;  // no traffic yet, as in a fresh process
    mrw::gf_renewMainWindow();
}

void resetRun() {
    resetRunSettings();
    // What a run that ended with a quit leaves behind: the process would end there, a test does not.
    mrw::lf_resetRunState();
    resetSimClientState();
}

void forgetDatabases() {
    mrw::gf_resetAirportsDatabase();
    resetAircraftData();
    mrw::g_dbaseLoaded = false;
    mrw::gf_clearLiveryCatalogue();  // at once on the thread that built it, else at the next safe point
    mrw::gf_serveCatalogueClearRequest();
    mrw::g_liveriesProcessed = false;
}

RunTest::RunTest() {
    emptyProcessDataDirectory();  // no parameters.xml of an earlier test
    resetRun();
    lf_posted().clear();
    m_window = createTestWindow(u"MrwRunTestMain", lf_mainWindowProc);
    mrw::g_mainWindowView().hwnd = m_window;
}

RunTest::~RunTest() {
    mrw::g_mainWindowView().hwnd = nullptr;
    standin::destroyAllWindows();
    resetRunSettings();
}

std::vector<UINT> RunTest::postedRunMessages() {
    standin::pumpUntilIdle();
    return lf_posted();
}

std::string RunTest::messageLine() {
    mrw::MainWindow& window = mrw::g_mainWindow();
    std::lock_guard lock(window.messageMutex);
    return window.message;
}

std::string RunTest::errorLine() {
    mrw::MainWindow& window = mrw::g_mainWindow();
    std::lock_guard lock(window.messageMutex);
    return window.errorMessage;
}

}  // namespace mrwtest

#include "run/main_worker.h"

#include <fmt/format.h>

#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>

#include "aircraft/dbase_reader.h"
#include "aircraft/liveries_scan.h"
#include "aircraft/livery_catalogue.h"
#include "airports/airports_database.h"
#include "app/edit_fields.h"
#include "app/main_window.h"
#include "app/process_entry.h"
#include "app/updater.h"
#include "app/window_procedure.h"
#include "config/control_updates.h"
#include "config/first_run.h"
#include "config/packages_folder.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "config/traffic_range.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/fixed_code.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "foundation/time_texts.h"
#include "foundation/user_error_exception.h"
#include "foundation/version_data.h"
#include "run/main_loop_internal.h"
#include "run/main_worker_internal.h"
#include "run/run_end.h"
#include "run/run_end_internal.h"
#include "run/run_start_internal.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/sim/flight_plan_files.h"

namespace fs = std::filesystem;

namespace mrw {

namespace {

// The install-path ending that is cut off; '/' counts as the separator on this platform.
constexpr std::string_view kCommunityEnding = "Community";

// Runs lf_closingDown once when the worker's body is left, whichever way.
class ClosingDownGuard {
  public:
    ClosingDownGuard() = default;
    ClosingDownGuard(const ClosingDownGuard&) = delete;
    ClosingDownGuard& operator=(const ClosingDownGuard&) = delete;
    ~ClosingDownGuard() {
        if (std::uncaught_exceptions() > m_uncaught) {
            lf_closingDownNoThrow();
        } else {
            lf_closingDown();
        }
    }

  private:
    int m_uncaught = std::uncaught_exceptions();
};

void lf_requireDocsFolder() {
    if (!fs::is_directory(fs::status(g_docsFolder))) {
        throw UserErrorException(
            41, fmt::format("{} must be run from the {} folder!", kProductName, kProductName));
    }
}

void lf_readDatabases() {
    if (!g_dbaseLoaded.load()) {
        const bool read = gf_readDbase();
        g_dbaseLoaded = true;
        if (!read) throw std::runtime_error("reading data files failed!");
    }
    if (!gf_readAirports()) {
        throw std::runtime_error(fmt::format("reading '{}' failed!", path_to_utf8(g_airportsEncFile)));
    }
}

void lf_settlePackagesFolder(const StringParameter& installPath) {
    ControlParameter& allInstallPath = g_parameters().ALL_INSTALL_PATH;
    allInstallPath.current.set(installPath.current.get());
    gf_enableControl(allInstallPath, true);
    gf_showStringParameter(allInstallPath);
    if (allInstallPath.current.empty() && !gf_detectPackagesPath()) {
        throw UserErrorException(
            150,
            "No install path detected. Type the full path to your Community folder above, then press Enter");
    }
}

void lf_decideRealTrafficMode() {
    const StringParameter& address = g_parameters().RT_IP_ADDRESS;
    if (address.current.get() != address.defaultValue) {
        g_realTrafficMode = RealTrafficMode::ConfiguredAddress;
        return;
    }
    const bool here = fs::exists(gf_appDataPath() / "InsideSystems" / "RealTraffic.jar");
    g_realTrafficMode = here ? RealTrafficMode::ThisPc : RealTrafficMode::OtherPc;
    gf_setMessage(fmt::format("RealTraffic {}detected at this PC", here ? "" : "not "), true);
}

void lf_countAddonAirportFiles() {
    MainWindow& window = g_mainWindow();
    window.simaddonCount = static_cast<std::int32_t>(gf_countFiles(g_mySimaddonFolder));
    gf_invalidateStatusBand();
    window.thirdPartyCount = static_cast<std::int32_t>(gf_countFiles(g_myThirdpartyFolder));
    gf_invalidateStatusBand();
}

void lf_applyStoredDestination() {
    const std::string destination = g_parameters().DESTINATION.current.get();
    if (destination.empty()) return;
    const FixedCode<4> code(destination);
    for (const Airport& airport : g_airports) {
        if (airport.code == code) {
            lf_setDestination(destination, airport.lalo());
            return;
        }
    }
}

void lf_placeWindow() {
    const HWND hwnd = g_mainWindowView().hwnd.load();
    if (hwnd == nullptr) return;
    const HWND order = g_parameters().ALWAYS_ON_TOP.current ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(hwnd, order, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The start-up steps; returns when the run is over or is to end.
void lf_runWorker() {
    lf_requireDocsFolder();
    if (!lf_detectInstallation()) return;
    for (const fs::path* plain : {&g_airportsXmlFile, &g_aigRegcodesXmlFile, &g_dbaseXmlFile})
        gf_removeFile(*plain);
    const unsigned processors = std::thread::hardware_concurrency();
    g_scanThreadLimit = processors < 1 ? 2 : static_cast<std::int32_t>(processors);
    g_scanThreadsRunning = 0;
    if (g_parameters().SCAN_LIVERIES.current || !fs::exists(g_liveriesScannedFile)) gf_scanLiveries();
    gf_processScannedLiveries();
    if (gf_stopping()) return gf_markClosing();
    lf_countAddonAirportFiles();
    if (gf_stopping()) return gf_markClosing();
    gf_createFlightPlanFolder();
    lf_readMyParkAirports();
    gf_enableControl(g_parameters().rereadButton, true);
    lf_applyStoredDestination();
    lf_placeWindow();
    if (!lf_startRun()) return gf_markClosing();
    lf_mainLoop();
}

// SYSTEM ERROR stored over the reason so far, unless a window close or an error already decided
// how the run ends.
void lf_directSystemError() {
    ExitReason reason = g_exitReason.load();
    while (reason != ExitReason::UserClosedSim && reason != ExitReason::SimConnectError &&
           reason != ExitReason::ReaderError && reason != ExitReason::SystemError &&
           !g_exitReason.compare_exchange_weak(reason, ExitReason::SystemError)) {
    }
    g_stopRequested = true;
}

}  // namespace

std::int64_t gf_packWeekSlot(std::pair<int, int> weekdayAndSlot) {
    const auto [weekday, slot] = weekdayAndSlot;
    if (weekday < 0 || slot < 0) return -1;
    return (static_cast<std::int64_t>(slot) << 32) | static_cast<std::int64_t>(weekday);
}

void gf_refreshWeekSlot() {
    g_weekSlotNow = gf_packWeekSlot(gf_weekdayAndHalfHour());
}

void lf_startUpMRWV() {
    const ClosingDownGuard closingDown;
    try {
        lf_runWorker();
    } catch (const UserErrorException& e) {
        const std::string text = e.what();
        gf_setErrorMessage(text.empty() ? "Unknown exception" : text);
        lf_directSystemError();
    } catch (const fmt::format_error& e) {
        gf_setErrorMessage(fmt::format("std::format error: {}", e.what()));
        gf_setErrorMessage(e.what());
        gf_stopWithReason(ExitReason::SystemError, 0);
    } catch (const std::bad_alloc& e) {
        gf_setErrorMessage(e.what());
        gf_stopWithReason(ExitReason::SystemError, 0);
    } catch (const std::exception& e) {
        gf_setErrorMessage(e.what());
        gf_stopWithReason(ExitReason::SystemError, 0);
    } catch (...) {
        gf_setErrorMessage("Unknown exception");
        lf_directSystemError();
    }
}

void lf_closingDownNoThrow() {
    try {
        lf_closingDown();
    } catch (...) {
        // Nothing more can be done on the way out of the worker.
    }
}

bool lf_detectInstallation() {
    lf_prepareParameters();
    gf_invalidateStatusBand();
    lf_initControls();
    StringParameter& installPath = gf_activeInstallPath();
    gf_cutCommunityEnding(installPath);
    lf_createFolders();
    if (!g_restartPending.load() && !gf_checkVersions()) return false;
    gf_refreshWeekSlot();
    lf_readDatabases();
    lf_settlePackagesFolder(installPath);
    gf_invalidateControlPanel();
    if (g_productionMode.load()) {
        lf_productionStop();
        return false;
    }
    lf_decideRealTrafficMode();
    return true;
}

void gf_cutCommunityEnding(StringParameter& installPath) {
    const std::string value = installPath.current.get();
    const std::size_t ending = kCommunityEnding.size() + 1;
    if (value.size() < ending || !value.ends_with(kCommunityEnding)) return;
    const char separator = value[value.size() - ending];
    if (separator != '\\' && separator != '/') return;
    installPath.setAndSave(value.substr(0, value.size() - ending));
}

void lf_createFolders() {
    for (const fs::path* folder :
         {&g_outputFolder, &g_infoFolder, &g_errorsFolder, &g_airportsFolder, &g_learnedFolder,
          &g_learnedStockFolder, &g_learnedSimaddonFolder, &g_learnedThirdpartyFolder, &g_mySimaddonFolder,
          &g_myThirdpartyFolder, &g_myRegcodesFolder}) {
        if (!fs::is_directory(fs::status(*folder))) fs::create_directories(*folder);
    }
    if (fs::exists(g_objectIdListFile)) fs::remove(g_objectIdListFile);
}

void lf_productionStop() {
    if (!g_productionMode.load()) return;
    try {
        gf_logLine("production");
        g_exitCode = 0;
        gf_markClosing();
    } catch (const std::exception& e) {
        gf_logError(fmt::format("exception {}", e.what()));
        g_exitCode = 1;
    }
}

}  // namespace mrw

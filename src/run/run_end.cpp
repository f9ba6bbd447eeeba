#include "run/run_end.h"

#include <fmt/format.h>

#include <array>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "aircraft/livery_catalogue.h"
#include "aircraft/matching_summary.h"
#include "airports/airports_scan.h"
#include "app/main_window.h"
#include "app/window_procedure.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "foundation/clock.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/time_texts.h"
#include "foundation/version_data.h"
#include "run/main_worker.h"
#include "run/run_end_internal.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airport_pass.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/creation_recognition.h"
#include "traffic/sim/flight_plan_files.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_dispatch.h"

namespace fs = std::filesystem;

namespace mrw {

namespace {

void lf_clearMessageLine() {
    MainWindow& window = g_mainWindow();
    {
        MutexLock lock(window.messageMutex);
        window.errorMessage.clear();
    }
    gf_clearMessage();
}

// The flight-plan folder with everything in it; an error is logged, never thrown. One call for a
// full and an empty folder alike: a plain remove of a full folder fails with "directory not empty"
// on Linux but with "access denied" on Windows, so no fallback can rely on the error it gives.
void lf_removeFlightPlanFolder() {
    const fs::path folder = g_flightPlanFolder;
    if (folder.empty()) return;
    std::error_code error;
    fs::remove_all(folder, error);
    if (error) gf_logLine(fmt::format("gf_removeFlightPlanFolder: {}", error.message()));
}

void lf_setAndSave(StringParameter& parameter, std::string text) {
    parameter.setAndSave(std::move(text));
}

// The client thread reserves the user's stand on its way out; joined, it no longer touches the
// queues, the user data or the connection.
void lf_stopSimClientThread() {
    if (!g_simClientThread.joinable()) return;
    g_simClientThread.request_stop();
    g_simClientThread.join();
}

// A run ended on an error waits until the user closes the window, or mends a setting that asks
// for a restart (a Community path typed after error 150); returns the reason the run now ends for.
// Meanwhile the settings' controls are usable: the airports scan can be switched off before the
// first run that could do it.
ExitReason lf_waitForTheUser() {
    gf_enableControl(g_parameters().SCAN_AIRPORTS, true);
    while (!g_windowClosing.load() && g_exitReason.load() == ExitReason::SystemError)
        gf_sleepMs(500);
    if (!g_windowClosing.load()) return g_exitReason.load();
    gf_setMessage(fmt::format("User closed {}", kProductName), true);
    return ExitReason::SystemError;
}

// The closing steps before the choice between restart and quit; the readers and the SimConnect
// client are joined first, so what follows touches data no other thread of the run uses. Returns
// the reason the run ends for, which a SYSTEM ERROR's wait may change.
ExitReason lf_closeRun(ExitReason reason) {
    gf_logLine(fmt::format("Exiting: {}", gf_exitReasonName(reason)));
    {
        MutexLock lock(g_trafficMutex);
        g_injectionActive = false;
    }
    lf_stopSimClientThread();
    // Each reader sees its stop request within its 1000 ms receive time-out.
    gf_stopReaders();
    gf_waitForReaders();
    gf_sleepMs(500);
    lf_closeRealTrafficLink();
    if (reason == ExitReason::SystemError) reason = lf_waitForTheUser();
    if (!g_parkAirport.code.empty()) lf_clearParking();
    g_liveryOfHexid.clear();
    lf_removeFlightPlanFolder();
    ParameterCatalogue& p = g_parameters();
    lf_setAndSave(p.DESTINATION, "");
    lf_setAndSave(p.BLOCK_CALLSIGN, "");
    g_tbloFileCount = 0;
    g_removedGhosts.clear();
    gf_logMatchingSummary();
    gf_logNoMatch();
    return reason;
}

void lf_prepareRestart(ExitReason reason) {
    g_restartPending = true;
    lf_clearMessageLine();
    gf_setMessage("Prepare for a restart ...", true);
    if (reason != ExitReason::NewSettings) {
        ParameterCatalogue& p = g_parameters();
        p.SCAN_LIVERIES.current = false;
        p.SCAN_LIVERIES.save();
        p.SCAN_AIRPORTS.current = false;
        p.SCAN_AIRPORTS.save();
    }
    lf_restartCountdown();
    lf_resetRunState();
    if (g_catalogueClearRequest.exchange(false)) {
        gf_clearLiveryCatalogue();
        g_liveriesProcessed = false;
    }
}

void lf_resetReaders() {
    TrafficReader::trafficTime = 0.0;
    gf_resetReaderSide();
}

void lf_resetSimClient() {
    g_userDataReceived = false;
    {
        MutexLock lock(g_simConnectMutex);
        g_simQueues.renew();
    }
    g_simRunning = false;
    g_simConnect = nullptr;
    g_userObjectId = 2;
    g_simConnectError = false;
    g_userStandShown.clear();
    g_userTitle.clear();
    gf_setUserAcDataRecv(UserAcData{});
    g_prevUserPosition = Lalo{};
    g_asGenLogged = false;
    // The next handshake must not send the last run's simulator time.
    g_simTimeEpoch = 0;
}

void lf_resetMainWindow() {
    MainWindow& w = g_mainWindow();
    {
        MutexLock lock(w.messageMutex);
        w.message.clear();
        w.errorMessage.clear();
        w.messageSecond = 0;
    }
    for (GuardedText* text : {&w.parkQualityText, &w.userStandText, &w.parkAirportText, &w.parkPublisherText,
                              &w.simulatorText, &w.realTrafficEditionText, &w.userAircraftText}) {
        text->set("");
    }
    w.secondsCounter = 0;
    w.realTrafficNotStarted = true;
    w.realTrafficReady = false;
    w.parkFileOk = false;
    w.simConnected = false;
    w.simRunning = false;
    w.softParking = false;
    w.weekParking = false;
    w.parkHandmade = 0;
    w.userModelKnown = true;
    w.qnh = 0;
    w.maxPark = 0;
    w.averageFitStatic = -1;
    w.averageFitLive = -1;
    w.updatesCount = 0;
    w.liveCount = 0;
    w.parkedLiveCount = 0;
    w.staticCount = 0;
    w.standsCount = 0;
    w.trafficReaderStatus = ReaderStatus::Stopped;
    w.weatherReaderStatus = ReaderStatus::Stopped;
    g_hwndCurrent = nullptr;
}

void lf_resetMainLoop() {
    g_newSimSecond = false;
    g_flightNotRunningLogged = false;
    g_runSeconds = 0;
    g_parkingUpdateRequest = false;
    g_parkingUpdatePhase = false;
    g_blockCallsignRequest = false;
    g_csToOidLookup = false;
}

// The remaining closing steps are skipped; the program quits.
void lf_closingFailed(std::string_view what) {
    gf_setMessage(fmt::format("{} exception {}", "lf_closingDown", what), true);
    g_restartPending = false;
}

void lf_post(UINT message) {
    const HWND hwnd = g_mainWindowView().hwnd.load();
    if (hwnd != nullptr) PostMessageW(hwnd, message, 0, 0);
}

}  // namespace

void gf_markClosing() {
    g_windowClosing = true;
    lf_closeRealTrafficLink();
    ExitReason expected = ExitReason::NotYetSet;
    g_exitReason.compare_exchange_strong(expected, ExitReason::UserClosedSim);
    g_stopRequested = true;
}

void lf_closingDown() {
    bool restart = false;
    try {
        const ExitReason reason = lf_closeRun(g_exitReason.load());
        if (gf_restartsAfterDelay(reason)) {
            lf_prepareRestart(reason);
            restart = true;
        } else {
            g_restartPending = false;
            if (reason == ExitReason::NewFlight) {
                gf_setMessage(fmt::format("New flight detected, {} will close, please restart manually ...",
                                          kProductName),
                              true);
                gf_sleepMs(10'000);
            }
        }
    } catch (const std::exception& e) {
        lf_closingFailed(e.what());
    } catch (...) {
        lf_closingFailed("Unknown exception");
    }
    // The worker's last act: a half-done restart is never started, the program quits instead.
    lf_post(restart ? WM_APP_START_RUN : WM_APP_QUIT);
}

void lf_restartCountdown() {
    const std::int32_t n = g_restartDelay.load();
    if (n <= 0) return;
    gf_logLine(fmt::format("Restarting after {} seconds", n));
    gf_logLine(std::string(48, '-'));
    for (std::int32_t r = n; r >= 1; --r) {
        gf_setMessage(fmt::format("Restarting after {} second{}", r, gf_pluralS(r)), false);
        gf_sleepMs(1000);
    }
    gf_logLine("Restart countdown finished");
}

void lf_resetRunState() {
    lf_resetReaders();
    lf_resetSimClient();
    lf_resetEngine();
    lf_resetMainWindow();
    g_windowClosing = false;
    g_stopRequested = false;
    g_exitReason = ExitReason::NotYetSet;
    lf_resetMainLoop();
    g_userAcData = UserAcData{};
    g_rtProfessional = false;
    g_awaitingRealTraffic = true;
}

}  // namespace mrw

// The run start: from the data being loaded to traffic flowing.

#include <fmt/format.h>

#include <cmath>
#include <thread>

#include "aircraft/livery_catalogue.h"
#include "aircraft/regcode_store.h"
#include "airports/airports_scan.h"
#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/clock.h"
#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "run/main_loop_internal.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "run/run_start_internal.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/simconnect_binding.h"

namespace mrw {

namespace {

constexpr int kFirstTrafficWaits = 150;  // of 100 ms

// The catalogue lists get their room once per process.
bool g_catalogueReserved = false;

void lf_setStatus(std::atomic<bool>& field, bool value) {
    field = value;
    gf_invalidateStatusBand();
}

void lf_startSimClient() {
    // The assignment stops and joins an earlier run's client, which already has its stop request.
    g_simClientThread = std::jthread(lf_simClient);
}

// Sleeps in 100 ms steps; false as soon as a stop is requested.
bool lf_sleepUnlessStopped(int steps) {
    for (int i = 0; i < steps; ++i) {
        if (gf_stopping()) return false;
        gf_sleepMs(100);
    }
    return !gf_stopping();
}

// The QNH Reader, 2 s later the Traffic Reader; false when a stop came in between.
bool lf_startReaders() {
    gf_startQnhReader();
    if (!lf_sleepUnlessStopped(20)) return false;
    gf_startTrafficReader();
    return true;
}

// Waits at most 15 s for the first traffic record. A stop request ends the wait and the run start:
// a window closed meanwhile must not see the main loop begin.
bool lf_waitForFirstTraffic() {
    for (int i = 0; i < kFirstTrafficWaits && std::trunc(TrafficReader::trafficTime.load()) == 0.0; ++i) {
        if (gf_stopping()) return false;
        gf_sleepMs(100);
    }
    if (std::trunc(TrafficReader::trafficTime.load()) == 0.0) gf_logLine("No traffic in this region?");
    return !gf_stopping();
}

}  // namespace

bool lf_startRun() {
    MainWindow& window = g_mainWindow();
    lf_setStatus(window.realTrafficReady, false);
    lf_setStatus(window.simConnected, false);
    lf_reserveEngine();
    if (!g_catalogueReserved) {
        g_catalogueReserved = true;
        g_specialTitles().reserve(4096);
        g_lightModels().reserve(64);
        g_buzjetModels().reserve(128);
        g_rotorcraftModels().reserve(32);
    }
    gf_resetSimQueues();
    gf_invalidateStatusBand();
    gf_bindSimConnect();
    lf_startSimClient();
    if (!lf_waitForFlight()) return false;
    ParameterCatalogue& p = g_parameters();
    gf_enableControl(p.SCAN_AIRPORTS, true);
    if (p.SCAN_AIRPORTS.current) {
        window.simaddonCount = 0;
        gf_invalidateStatusBand();
        window.thirdPartyCount = 0;
        gf_invalidateStatusBand();
        gf_scanAirports();
    }
    gf_publishAutoRangeInputs();
    if (p.AUTO_RANGE.current) lf_autoRange();
    const bool aerowinx = p.AEROWINX.current;
    if (g_realTrafficMode.load() != RealTrafficMode::OtherPc && !aerowinx) {
        lf_listenForRealTraffic(p.PORT_NUMBER.current.get());
    } else {
        lf_setStatus(window.realTrafficReady, true);
    }
    if (gf_stopping()) return false;
    lf_setStatus(window.realTrafficNotStarted, false);
    if (aerowinx) {
        g_rtProfessional = false;
    } else {
        lf_waitForRealTraffic();
        if (g_rtProfessional.load()) lf_sendSimTime(g_simTimeEpoch.load());
    }
    if (gf_stopping()) return false;
    {
        MutexLock lock(g_trafficMutex);
        g_injectionActive = false;
    }
    if (!lf_startReaders()) return false;
    lf_sendUserPosition();
    TrafficReader::referencePosition.store(Lalo{g_userAcData.latitude, g_userAcData.longitude});
    if (!lf_waitForFirstTraffic()) return false;
    gf_refreshWeekSlot();
    return true;
}

bool lf_waitForFlight() {
    while (!g_simRunning.load() || g_simConnectError.load()) {
        if (gf_stopping()) return false;
        gf_sleepMs(100);
    }
    if (gf_stopping()) return false;
    {
        MutexLock lock(g_simConnectMutex);
        const HRESULT result = SimConnect_RequestDataOnSimObject(
            g_simConnect.load(), gf_simId(SimConnectRequestId::UserOnGround),
            SimConnectDefinitionId::UserOnGround, SIMCONNECT_OBJECT_ID_USER, SIMCONNECT_PERIOD_SECOND, 0, 0,
            0, 0);
        if (result < 0) {
            gf_logError("SimConnect request ac gnd/air fails");
            gf_simRequestError();
        }
    }
    while (!g_userDataReceived.load() || !gf_userPositionKnown(g_userAcData)) {
        g_userAcData = gf_getUserAcData();
        if (gf_stopping()) return false;
        gf_sleepMs(500);
    }
    gf_requestUserTitleAndModel();
    return true;
}

}  // namespace mrw

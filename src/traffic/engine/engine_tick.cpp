#include "traffic/engine/engine_tick.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <numbers>
#include <utility>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "config/parameter_catalogue.h"
#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "foundation/window_model.h"
#include "platform/simconnect/simconnect.h"
#include "traffic/engine/engine_tick_internal.h"
#include "traffic/engine/live_spawn.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/engine/sim_event_drain.h"
#include "traffic/engine/traffic_intake.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airport_pass.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_creation.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"

namespace mrw {

namespace {

constexpr double kDegPerRad = 57.29577951308232;
constexpr int kReportsPerTick = 2;

bool lf_flaggedForErasure(const StaticAc& aircraft) {
    return aircraft.eraseNeverCreated || aircraft.eraseWithdrawn;
}

void lf_updateLiveAcs() {
    bool anyFlagged = false;
    for (std::size_t i = 0; i < g_liveAcs.size(); ++i)
        anyFlagged |= updateLiveAc(g_liveAcs[i]);
    if (anyFlagged) std::erase_if(g_liveAcs, lf_flaggedForErasure);
    // A static record flagged by removeAircraftFromSim (never created, or removed without an object
    // id) goes here too, so that none is left behind without a way out; without a flag set since
    // the last pass there is none to look for.
    if (std::exchange(g_erasureFlagged, false)) std::erase_if(g_staticAcs, lf_flaggedForErasure);
}

// The updates of this tick become the ones the next frame sends; a busy lock drops them.
void lf_handOverPositionUpdates() {
    if (g_simConnectMutex.try_lock()) {
        MutexLock lock(g_simConnectMutex, std::adopt_lock);
        std::swap(g_positionUpdatesIn, g_positionUpdatesOut);
    }
    g_positionUpdatesIn->clear();
}

void lf_takeTrafficReports() {
    MutexLock lock(g_trafficMutex);
    for (int taken = 0; taken < kReportsPerTick && !g_trafficReports.empty(); ++taken) {
        // One bad report must not end the run: it is logged and dropped like a failed update.
        try {
            lf_takeTrafficReport(g_trafficReports.front());
        } catch (const std::exception& e) {
            gf_logError(fmt::format("{}: {} {}, hexid:{}", "lf_takeTrafficReport", e.what(),
                                    gf_aircraftText(g_trafficReports.front().identity),
                                    g_trafficReports.front().hexid));
        }
        g_trafficReports.pop_front();
    }
}

CreateRequest lf_createRequestOf(const LiveAc& aircraft) {
    CreateRequest request;
    const SimPosition& p = aircraft.simPosition;
    request.initPosition.Latitude = p.lat;
    request.initPosition.Longitude = p.lon;
    request.initPosition.Altitude = p.altitudeFt;
    request.initPosition.Pitch = p.pitch * kDegPerRad;
    request.initPosition.Bank = p.bank * kDegPerRad;
    request.initPosition.Heading = p.heading * kDegPerRad;
    request.initPosition.OnGround = 0;
    request.initPosition.Airspeed = 0;
    request.callsign = aircraft.callsign;
    request.title = std::string(aircraft.liveryTitle);
    request.hexid = static_cast<int>(aircraft.hexid);
    return request;
}

void lf_buildCreateRequest() {
    if (g_addingStack.empty()) return;
    const std::int32_t hexid = g_addingStack.back();
    g_addingStack.pop_back();
    LiveAc* aircraft = gf_liveAcOfHexid(static_cast<std::uint32_t>(hexid));
    if (aircraft == nullptr) return;
    if (aircraft->callsign.empty()) {
        gf_logError(fmt::format("{} {} objectid = 0?", "lf_handleAddingStack", gf_aircraftText(*aircraft)));
        // Without a request it would wait in "adding2sim" for ever.
        aircraft->eraseNeverCreated = true;
        return;
    }
    g_liveCreateQueue.push_back(lf_createRequestOf(*aircraft));
}

// The room the engine's containers keep through a run and its reset.
void lf_reserveEngineContainers() {
    g_liveAcs.reserve(512);
    g_staticAcs.reserve(256);
    g_addingStack.reserve(64);
    g_createdObjects.reserve(128);
    g_removedGhosts.reserve(64);
}

// The main worker's copy of the user aircraft data; the Traffic Reader corrects high traffic's
// altitudes to the user's altimeter from the two altitudes it holds.
void lf_refreshUserAcData() {
    g_userAcData = gf_getUserAcData();
    TrafficReader::userAltitudes.store({g_userAcData.altitudeFt, g_userAcData.indicatedAltitudeFt});
}

}  // namespace

void lf_feedSimQueues() {
    const std::int32_t t = g_engineTick.load();
    if (t % 10 != 0) return;
    if (!g_removeQueue.empty()) {
        {
            MutexLock lock(g_simConnectMutex);
            g_removeRequests.push_back(g_removeQueue.front());
        }
        g_removeQueue.pop_front();
    }
    if (t % 50 != 0) return;
    if (!g_liveCreateQueue.empty()) {
        g_liveCreateQueue.front().queue();
        g_liveCreateQueue.pop_front();
        return;
    }
    if (!g_staticCreateQueue.empty()) {
        g_staticCreateQueue.front().queue();
        g_staticCreateQueue.pop_front();
    }
    if (!g_parkingPlan.empty()) lf_detcs();
}

void lf_requestObjectsInRange() {
    const std::int32_t t = g_engineTick.load();
    if (t % 20 == 0) {
        {
            MutexLock lock(g_simConnectMutex);
            constexpr auto kRequest =
                static_cast<SIMCONNECT_DATA_REQUEST_ID>(SimConnectRequestId::ObjectsInRange);
            if (!g_simConnectError.load() && FAILED(SimConnect_RequestDataOnSimObjectType(
                                                 g_simConnect.load(), kRequest, ObjectInRange,
                                                 g_rangeMeters.load(), SIMCONNECT_SIMOBJECT_TYPE_AIRCRAFT))) {
                gf_logError("SimConnect request ac within range fails");
                gf_simRequestError();
            }
        }
        lf_sendUserPosition();
    }
    if (t % 100 == 0) lf_refreshUserAcData();
}

void lf_handleAddingStack() {
    lf_processSimEvents();
    lf_updateLiveAcs();
    lf_handOverPositionUpdates();
    lf_feedSimQueues();
    lf_takeTrafficReports();
    lf_buildCreateRequest();
    lf_requestObjectsInRange();
    g_engineTick += 1;
}

void lf_reserveEngine() {
    static bool reserved = false;
    if (reserved) return;
    lf_reserveEngineContainers();
    g_parkStands.reserve(512);
    g_parkingPlan.reserve(512);
    {
        MutexLock lock(g_simEventMutex);
        g_simEvents.reserve(256);
    }
    g_liveParked.reserve(64);
    g_staticReview.reserve(256);
    g_staticRemovals.reserve(256);
    reserved = true;
}

void lf_resetEngine() {
    TrafficReader::groundElevation.reset();
    gf_setParkAirport(Airport{});
    MainWindow& window = g_mainWindow();
    if (window.liveCount.exchange(0) != 0) gf_invalidateStatusBand();
    if ((window.staticCount.exchange(0) | window.parkedLiveCount.exchange(0)) != 0) gf_invalidateStatusBand();
    // The client thread and the Traffic Reader have normally stopped; the locks make sure.
    {
        MutexLock lock(g_simEventMutex);
        g_simEventQueue.renew();
    }
    g_parkingPlan.clear();
    g_liveryOfHexid.clear();
    {
        RecursiveMutexLock lock(g_parkAirportsMutex);
        g_parkAirports.clear();
    }
    g_staticRemovals.clear();
    {
        MutexLock lock(g_trafficMutex);
        g_trafficIntake.renew();
    }
    g_parkingUpdateRunning.exchange(false);
    gf_invalidateInfoBand();
    g_readParkFilePending = false;
    g_selectedObjectId.store(0);
    g_engineContainers.renew();
    lf_reserveEngineContainers();
    gf_clearLiveObjectIndex();
    g_parkStands.clear();
    g_qnh.exchange(1013);
    g_parkApfInfo.airportName.clear();
    g_parkApfInfo.publisher.clear();
    g_parkApfInfo.altitude = -1;
    g_optionCount = 0;
    g_weekSlotNow.exchange(0);
    g_noMatchSet.clear();
}

void lf_eraseLiveAc(LiveAc& aircraft) {
    gf_setLiveObjectId(aircraft, 0);
    gf_indexLiveAcErasure(aircraft);
    LiveAc& last = g_liveAcs.back();
    if (&aircraft != &last) {
        aircraft = std::move(last);
        gf_indexLiveObject(aircraft);
    }
    g_liveAcs.pop_back();
}

}  // namespace mrw

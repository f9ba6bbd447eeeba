#include "engine_harness.h"

#include <mutex>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/simulator_choice.h"
#include "foundation/window_model.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/sim/creation_recognition.h"
#include "traffic/sim/flight_plan_files.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_dispatch.h"

namespace mrwtest {

namespace {

// The settings the engine reads, at their defaults.
void lf_defaultSettings() {
    auto& p = mrw::g_parameters();
    p.MAX_LIVE_SEL.current.store(500);
    p.BLOCK_CALLSIGN.current.set("");
    p.GUID_CHANGES.current.store(true);
    p.COLLISION_USER_AIR.current.store(true);
    p.COLLISION_USER_GND.current.store(true);
    p.INITIAL_LOAD_ONLY.current.store(false);
    p.NAV_LIGHTS_WHILE_PARKED.current.store(true);
}

}  // namespace

void resetEngineThroughOwners() {
    mrw::lf_resetEngine();
    {
        std::lock_guard lock(mrw::g_simConnectMutex);
        mrw::g_simQueues.renew();
    }
    mrw::g_simConnectError.store(false);
    mrw::g_simConnect.store(nullptr);
    mrw::g_userAcData = {};
    mrw::g_userAcDataRecv = {};
    mrw::g_userOnGround.store(true);
    mrw::g_msfs2020.store(true);
    mrw::g_mainWindow().maxPark.store(0);
}

mrw::TrafficReport makeReport(const ReportSpec& spec) {
    mrw::TrafficReport report;
    report.identity.designation.airline = mrw::gf_airlineIndex(spec.airline);
    report.identity.designation.model = mrw::gf_modelIndex(spec.model);
    if (!spec.origin.empty()) report.identity.origin = mrw::FixedCode<3>(spec.origin);
    if (!spec.destination.empty()) report.identity.destination = mrw::FixedCode<3>(spec.destination);
    report.identity.callsign = spec.callsign;
    report.identity.registration = spec.registration;
    mrw::PositionSample& s = report.sample;
    s.lat = spec.lat;
    s.lon = spec.lon;
    s.altitudeFt = spec.altitudeFt;
    s.groundSpeedKt = spec.groundSpeedKt;
    s.trackDeg = spec.trackDeg;
    s.verticalRateFpm = spec.verticalRateFpm;
    s.trueAirspeedKt = spec.groundSpeedKt;
    s.airborne = spec.altitudeFt > 0.0;
    s.dueTick = mrw::g_engineTick.load() + 3000;
    report.reportTime = spec.reportTime;
    report.hexid = spec.hexid;
    return report;
}

void EngineHarness::SetUp() {
    CatalogueTest::SetUp();
    buildCatalogue();
    // The models the intake accepts: those of the database fixture.
    for (const char* model :
         {"A319", "A320", "A321", "B738", "B739", "CRJ2", "CRJ7", "CRJ9", "E175", "B744", "B748",
          "B77L", "B77W", "CL35", "C680", "EC35", "R44",  "F16",  "C172", "C182", "PA28", "SR22"})
        mrw::g_icaoModels().insert(model);
    lf_defaultSettings();
    resetEngineThroughOwners();
    mrw::g_flightPlanFolder = folder.path();
    mrw::gf_setWallClockForTests([this] { return wallClockSeconds; });
    startWorld();
}

void EngineHarness::startWorld() {
    if (connection != nullptr) SimConnect_Close(connection);
    standin::resetWorld(worldConfig);
    standin::startSimulator();
    ASSERT_EQ(SimConnect_Open(&connection, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
    mrw::g_simConnect.store(connection);
    mrw::g_userObjectId.store(standin::user().id);
    placeUser(kUserLat, kUserLon, true);
    // Monday, 10:00 to 10:30.
    mrw::g_weekSlotNow.store(1 | (std::int64_t{20} << 32));
}

void EngineHarness::TearDown() {
    resetEngineThroughOwners();
    mrw::g_flightPlanFolder.clear();
    mrw::gf_setWallClockForTests({});
    standin::resetWorld();
    CatalogueTest::TearDown();
}

void EngineHarness::feed(const ReportSpec& spec) {
    std::lock_guard lock(mrw::g_trafficMutex);
    mrw::g_trafficReports.push_back(makeReport(spec));
}

void EngineHarness::runTicks(int n) {
    for (int i = 0; i < n; ++i) {
        mrw::lf_handleAddingStack();
        standin::step(0.01);
    }
}

bool EngineHarness::runTicksUntil(const std::function<bool()>& predicate, int maxTicks) {
    for (int i = 0; i < maxTicks; ++i) {
        if (predicate()) return true;
        runTicks(1);
    }
    return predicate();
}

mrw::LiveAc* EngineHarness::live(std::uint32_t hexid) {
    return mrw::gf_liveAcOfHexid(hexid);
}

mrw::LiveAc& EngineHarness::addActive(const ReportSpec& spec, std::uint32_t objectId) {
    mrw::TrafficReport report = makeReport(spec);
    report.sample.dueTick = mrw::g_engineTick.load();
    mrw::AcProfile profile = mrw::gf_makeAcProfile(report.identity);
    profile.hexid = report.hexid;
    mrw::LiveAc& aircraft = mrw::g_liveAcs.emplace_back(report.sample, std::move(profile), report.reportTime);
    aircraft.simState = mrw::SimState::Active;
    mrw::gf_setLiveObjectId(aircraft, objectId);
    aircraft.phase = report.sample.airborne ? mrw::FlightPhase::Flying : mrw::FlightPhase::Taxi;
    aircraft.onGroundInSim = !report.sample.airborne;
    aircraft.simPosition.lat = spec.lat;
    aircraft.simPosition.lon = spec.lon;
    aircraft.simPosition.altitudeFt = spec.altitudeFt;
    return aircraft;
}

void EngineHarness::placeUser(double lat, double lon, bool onGround) {
    standin::modifyUser([&](standin::SimObject& user) {
        user.latitudeDeg = lat;
        user.longitudeDeg = lon;
        user.altitudeFeet = 0.0;
        user.onGround = onGround;
    });
    // Both copies: the engine takes a fresh one from the received record every 100 ticks.
    mrw::g_userAcDataRecv.latitude = mrw::g_userAcData.latitude = lat;
    mrw::g_userAcDataRecv.longitude = mrw::g_userAcData.longitude = lon;
    mrw::g_userOnGround.store(onGround);
}

void EngineHarness::setWallClock(std::int64_t seconds) {
    wallClockSeconds = seconds;
}

}  // namespace mrwtest

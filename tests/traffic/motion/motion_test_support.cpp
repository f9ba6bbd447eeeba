#include "traffic/motion/motion_test_support.h"

#include <mutex>
#include <string>
#include <utility>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/engine/live_spawn.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"

namespace mrw::test {

namespace {

struct CategoryProfile {
    double turnDegPerTick;
    double maxVerticalStepFt;
    double manoeuvreSpeedKt;
    std::int32_t flareTicks;
    std::int32_t touchdownTicks;
    std::int32_t rotationTicks;
    std::int32_t climbPitchTicks;
    double rotationPitchDeg;
    double climbPitchDeg;
    double halfSpanM;
};

constexpr CategoryProfile kProfiles[] = {
    {0.15, 0.5, 5, 250, 250, 100, 200, -9, -15, 5.5},     // Light
    {0.10, 0.75, 4.5, 300, 300, 200, 250, -8, -18, 9.5},  // Buzjets
    {0.07, 0.6, 4, 400, 350, 200, 300, -6, -16.5, 17.9},  // Large
    {0.05, 0.5, 3, 450, 450, 250, 400, -5, -12.5, 32.5},  // Heavy
    {0.10, 1.0, 4.5, 150, 150, 100, 200, -6, -20, 5.0},   // HighPerf
    {0.20, 0.75, 5, 100, 100, 100, 100, -20, -30, 6.0},   // Rotorcraft
};

}  // namespace

LiveAc gf_activeAircraft(AcCategory category, double lat, double lon, double altitudeFt) {
    const CategoryProfile& p = kProfiles[static_cast<int>(category)];
    LiveAc ac;
    ac.callsign = "TST123";
    ac.registration = "N123TS";
    ac.hexid = 0xA12345;
    ac.objectId = 1234;
    ac.category = category;
    ac.halfSpanNm = p.halfSpanM / kMetresPerNm;
    ac.staticCgFt = 8;
    ac.staticPitchRad = 0.012217304763960306;
    ac.rotationPitchRad = p.rotationPitchDeg * kRadPerDeg;
    ac.climbPitchRad = p.climbPitchDeg * kRadPerDeg;
    ac.turnRatePerTick = p.turnDegPerTick * kRadPerDeg;
    ac.turnStep = ac.turnRatePerTick;
    ac.maxVerticalStepFt = p.maxVerticalStepFt;
    ac.manoeuvreSpeedKt = p.manoeuvreSpeedKt;
    ac.flareTicks = p.flareTicks;
    ac.touchdownTicks = p.touchdownTicks;
    ac.rotationTicks = p.rotationTicks;
    ac.climbPitchTicks = p.climbPitchTicks;
    ac.simState = SimState::Active;
    ac.simPosition.lat = lat;
    ac.simPosition.lon = lon;
    ac.simPosition.altitudeFt = altitudeFt;
    ac.onGroundInSim = altitudeFt <= 0;
    ac.phase = altitudeFt > 0 ? FlightPhase::Flying : FlightPhase::Taxi;
    ac.previousPhase = FlightPhase::Birth;
    return ac;
}

PositionSample gf_sample(double lat, double lon, std::int32_t dueTick, double groundSpeedKt,
                         double altitudeFt, double verticalRateFpm) {
    PositionSample s;
    s.lat = lat;
    s.lon = lon;
    s.dueTick = dueTick;
    s.groundSpeedKt = groundSpeedKt;
    s.trueAirspeedKt = groundSpeedKt;
    s.altitudeFt = altitudeFt;
    s.airborne = altitudeFt > 0;
    s.verticalRateFpm = verticalRateFpm;
    return s;
}

PositionSample gf_sampleAt(const PositionSample& from, double bearingDeg, double metres, std::int32_t dueTick,
                           double groundSpeedKt, double altitudeFt, double verticalRateFpm) {
    const Lalo p =
        gf_destinationPoint(gf_lalo(from), bearingDeg * kRadPerDeg, metres / kMetresPerNm * kFeetPerNm);
    PositionSample s =
        gf_sample(p.latitude, p.longitude, dueTick, groundSpeedKt, altitudeFt, verticalRateFpm);
    s.trackDeg = bearingDeg;
    return s;
}

void gf_resetMotionState(std::int32_t tick) {
    g_engineTick = tick;
    g_engineContainers.renew();
    g_parkStands.clear();
    g_parkAirport = Airport{};
    g_parkFileLoaded = false;
    g_qnh = 1013;
    g_rangeNm = 40.0;
    g_selectedObjectId = 0;
    g_userAcData = UserAcData{};
    ParameterCatalogue& p = g_parameters();
    p.LIGHT_AIRCRAFT.current = true;
    p.HIGH_PERF_AIRCRAFT.current = true;
    p.HELICOPTERS.current = true;
    p.AIRBORNE_ONLY.current = false;
    p.STRAIGHT_PBS_ONLY.current = false;
    p.MAX_HOLDING_MINUTES.current = 20;
    p.HOLDING_THRESHOLD_METERS.current = 250;
}

void gf_updateActive(LiveAc& ac) {
    if (ac.simState != SimState::Active || ac.samples.empty()) return;
    updateLiveAc(ac);
    // Nothing sends the position updates on: the next tick starts with an empty buffer.
    std::lock_guard lock(g_simConnectMutex);
    g_positionUpdatesIn->clear();
}

std::int32_t gf_addParkStand(double lat, double lon, double headingDeg, double radiusMetres) {
    Stand stand({}, "G" + std::to_string(g_parkStands.size() + 1), lat, lon, headingDeg * kRadPerDeg,
                radiusMetres, 0, false, false, false);
    stand.number = static_cast<std::int32_t>(g_parkStands.size()) + 1;
    g_parkStands.push_back(std::move(stand));
    return g_parkStands.back().number;
}

void gf_setKlaxParkAirport() {
    g_parkAirport.code = FixedCode<4>("KLAX");
    g_parkAirport.latitude = kKlaxLat;
    g_parkAirport.longitude = kKlaxLon;
    g_parkAirport.altitude = static_cast<float>(kKlaxElevationFt);
}

}  // namespace mrw::test

#include "traffic/engine/live_spawn.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_matching.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "platform/simconnect/simconnect.h"
#include "traffic/engine/engine_limits.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parked_limit.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/sim/flight_plan_files.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"

namespace mrw {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kRadPerDeg = std::numbers::pi / 180.0;

Lalo lf_positionOf(const PositionSample& sample) {
    return {sample.lat, sample.lon};
}

Lalo lf_userPosition() {
    return {g_userAcData.latitude, g_userAcData.longitude};
}

bool lf_endsWithUnderscore(const std::string& text) {
    return !text.empty() && text.back() == '_';
}

double lf_wrap2Pi(double x) {
    double r = std::fmod(x, kTwoPi);
    if (r < 0.0) r += kTwoPi;
    if (r > 6.283185307178586) r = 0.0;
    return r;
}

std::int32_t lf_countActiveLive() {
    return static_cast<std::int32_t>(std::count_if(g_liveAcs.begin(), g_liveAcs.end(), [](const LiveAc& ac) {
        return ac.simState == SimState::Active;
    }));
}

void lf_updateActive(LiveAc& aircraft) {
    if (aircraft.samples.empty()) {
        const SimPosition& p = aircraft.simPosition;
        gf_logError(fmt::format(
            "{} stream empty ? {}, hexid:{}, objectid:{}, alt:{:.0f} ft, lalo:{}, TAS:{:.0f}", "updateLiveAc",
            gf_aircraftText(aircraft), aircraft.hexid, gf_idText(aircraft.objectId), p.altitudeFt,
            fmt::format("{:.6f},{:.6f}", p.lat, p.lon), p.trueAirspeedKt));
        aircraft.removeAircraftFromSim();
        return;
    }
    if (aircraft.samples.front().dueTick <= g_engineTick.load()) {
        aircraft.nextPosMain();
        aircraft.simPosition.verticalSpeedFps = aircraft.targetVsFpm / 60.0;
        aircraft.simPosition.trueAirspeedKt =
            !aircraft.samples.empty() && aircraft.samples.front().stationary ? 0.0 : aircraft.speedKt;
    }
    if (aircraft.simState != SimState::Active) return;
    aircraft.stepTick();
    if (aircraft.objectId != 0) {
        // Filled in place: an update built aside and then copied in doubled the stores, a thousand
        // times a tick.
        PositionUpdate& update = g_positionUpdatesIn->emplace_back();
        update.position = aircraft.simPosition;
        update.objectId = aircraft.objectId;
        return;
    }
    gf_logError(fmt::format("{} objectid=0? hexid: {},cs:{}, reg:{}, aimo:{} sz:{}", "updateLiveAc",
                            aircraft.hexid, aircraft.callsign, aircraft.registration,
                            gf_designationText(aircraft.designation), aircraft.samples.size()));
    aircraft.removeAircraftFromSim();
}

// The spawn checks of rules 9 to 14 that erase; true when the aircraft may be spawned.
bool lf_passesLimits(LiveAc& aircraft) {
    const std::int32_t maxLive = g_parameters().MAX_LIVE_SEL.current;
    if (maxLive == 0) return false;
    const auto waiting =
        static_cast<std::int64_t>(g_addingStack.size()) + static_cast<std::int64_t>(g_liveCreateQueue.size());
    // Counting the active aircraft is a pass over every record: while all records together stay
    // under the limit, none is needed.
    const bool mayReachLimit = static_cast<std::int64_t>(g_liveAcs.size()) + waiting >= maxLive;
    if (mayReachLimit && lf_countActiveLive() + waiting >= maxLive) {
        const double d = gf_distanceNm(lf_userPosition(), lf_positionOf(aircraft.samples.front()));
        if (gf_removeFarthestLiveAc(d)) return false;
    }
    const std::string blocked = g_parameters().BLOCK_CALLSIGN.current.get();
    return blocked.empty() || blocked != aircraft.callsign;
}

void lf_repairDesignation(LiveAc& aircraft) {
    if (aircraft.designation.fromDbase != 0) return;
    if (!aircraft.registration.empty())
        if (const auto listed = gf_findDbaseRecord(aircraft.registration)) aircraft.designation = *listed;
    if (aircraft.designation.airline == 0) {
        const auto airline = gf_airlineFromCallsign(aircraft.callsign);
        aircraft.designation.airline = gf_airlineIndex(airline ? *airline : "PVT");
    }
}

// The catalogue's own text of a title: the aircraft's view must outlive the cache entry it came
// from, which the daily duty may empty. Empty when the catalogue no longer holds the title.
std::string_view lf_catalogueTitle(std::string_view title) {
    for (const TitlePool& row : g_modelTitlePools())
        for (const auto& [model, titles] : row)
            for (TitleView view : titles)
                if (view == title) return view;
    return {};
}

bool lf_chooseLivery(LiveAc& aircraft) {
    if (aircraft.liveryTitle.empty()) {
        const auto cached = gf_cachedLiveryTitle(aircraft.hexid);
        if (cached) aircraft.liveryTitle = lf_catalogueTitle(*cached);
        if (aircraft.liveryTitle.empty()) {
            gf_matchLiveAcLivery(aircraft);
            if (!aircraft.liveryTitle.empty()) g_liveryOfHexid[aircraft.hexid] = aircraft.liveryTitle;
        }
    }
    if (!aircraft.liveryTitle.empty()) return true;
    if (!aircraft.registration.empty()) g_noMatchSet.insert(gf_designationRegText(aircraft));
    aircraft.eraseNeverCreated = true;
    return false;
}

void lf_bornAtStand(LiveAc& aircraft, const Stand& stand) {
    aircraft.standPosition = {stand.latitude, stand.longitude};
    aircraft.standHeadingRad = stand.heading;
    aircraft.standNumber = stand.number;
    aircraft.standCargo = stand.cargo;
    aircraft.setPhase(FlightPhase::Parked);
    aircraft.parkedSince = gf_currentWeekSlot();
    aircraft.parkedAt = gf_wallClock100ns();
    aircraft.moveCount = 0;
    aircraft.standMaxDistance = 0.0;
    aircraft.updateStandCargoFlag();
    aircraft.samples.resize(1);
    PositionSample& first = aircraft.samples.front();
    first.lat = stand.latitude;
    first.lon = stand.longitude;
    first.trackDeg = stand.heading / kRadPerDeg;
    lf_addRealStandOption(stand.number, aircraft, 1);
    lf_enforceMaxPark(true);
}

// The birth mode of a new aircraft; false when it is not made now.
bool lf_chooseBirth(LiveAc& aircraft) {
    if (!lf_chooseLivery(aircraft)) return false;
    if (aircraft.samples.front().airborne) {
        aircraft.setPhase(FlightPhase::Flying);
        return true;
    }
    if (const auto stand = aircraft.standForGroundBirth()) {
        lf_bornAtStand(aircraft, *stand);
        return true;
    }
    if (aircraft.samples[1].stationary) {
        aircraft.samples.pop_front();
        return false;
    }
    aircraft.setPhase(FlightPhase::Taxi);
    return true;
}

void lf_markStationarySamples(LiveAc& aircraft) {
    auto& s = aircraft.samples;
    if (!s[1].stationary) {
        s[0].stationary = false;
        return;
    }
    s[0].stationary = true;
    s[0].groundSpeedKt = 0.0;
    s[1].groundSpeedKt = 0.0;
    if (s.size() > 2 && s[2].stationary) s[2].groundSpeedKt = 0.0;
}

double lf_createPitch(const PositionSample& first) {
    if (!first.airborne) return 0.010471975511965976;
    const double rate = first.verticalRateFpm;
    const double v = rate >= 0.0 ? std::min(rate, 2400.0) : std::max(rate, -3000.0) * 0.5;
    return -0.05235987755982989 - (v / 600.0) * 2.2 * kRadPerDeg;
}

}  // namespace

void LiveAc::setPhase(FlightPhase newPhase) {
    if (newPhase == phase) return;
    previousPhase = phase;
    phase = newPhase;
}

bool updateLiveAc(LiveAc& aircraft) {
    try {
        if (aircraft.simState == SimState::Buffer)
            aircraft.decideSpawn();
        else if (aircraft.simState == SimState::Active)
            lf_updateActive(aircraft);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: {} {}, sz:{}, fs:{}, st:{}", "updateLiveAc", e.what(),
                                gf_aircraftText(aircraft), aircraft.samples.size(),
                                gf_phaseName(aircraft.phase), gf_simStateName(aircraft.simState)));
        // Its step would throw again at every tick, with a line each time: the aircraft goes (unless
        // the update had already sent it on its way out).
        if (aircraft.simState != SimState::RemovingFromSim) aircraft.removeAircraftFromSim();
    }
    return aircraft.eraseNeverCreated || aircraft.eraseWithdrawn;
}

bool gf_mixesAirAndGround(const SampleStream& samples) {
    const auto airborne = [](const PositionSample& s) { return s.airborne; };
    return std::any_of(samples.begin(), samples.end(), airborne) &&
           !std::all_of(samples.begin(), samples.end(), airborne);
}

void LiveAc::decideSpawn() {
    if (samples.empty()) {
        eraseNeverCreated = true;
        return;
    }
    if (samples.front().dueTick > g_engineTick.load()) return;
    if (samples.size() == 1) {
        samples.pop_front();
        eraseNeverCreated = true;
        return;
    }
    if (lf_endsWithUnderscore(callsign) &&
        std::find(g_removedGhosts.begin(), g_removedGhosts.end(), callsign) != g_removedGhosts.end()) {
        eraseNeverCreated = true;
        return;
    }
    if (gf_mixesAirAndGround(samples)) {
        samples.pop_front();
        return;
    }
    if (spawnBlocked()) return;
    if (g_liveCreateQueue.size() > 10 && phase == FlightPhase::Birth) {
        samples.pop_front();
        return;
    }
    if (!lf_passesLimits(*this)) {
        eraseNeverCreated = true;
        return;
    }
    lf_repairDesignation(*this);
    if (!hasUsableCallsign(*this)) callsign = registration;
    if (!hasUsableCallsign(*this) || g_noMatchSet.contains(gf_designationRegText(*this)) ||
        (lf_endsWithUnderscore(callsign) && lf_isGhostOfLive(callsign))) {
        eraseNeverCreated = true;
        return;
    }
    spawnLiveAc(*this);
}

bool LiveAc::spawnBlocked() {
    const PositionSample& f = samples.front();
    const auto skip = [this] {
        samples.pop_front();
        return true;
    };
    if (!g_userOnGround.load()) {
        if (!g_parameters().COLLISION_USER_AIR.current) return false;
        simPosition.lat = f.lat;
        simPosition.lon = f.lon;
        // The path test compares the front sample's altitude and track: a buffered aircraft has no
        // position of its own yet.
        simPosition.altitudeFt = f.altitudeFt;
        simPosition.heading = f.trackDeg * kRadPerDeg;
        if (removeIfInUserPath(1)) {
            firstSampleSkipped = true;
            return skip();
        }
        return firstSampleSkipped ? skip() : false;
    }
    if (firstSampleSkipped) {
        const bool userMoving = g_userAcData.groundVelocityKt > 8.0;
        const bool frontMovingOnGround = !f.airborne && f.groundSpeedKt > 8.0;
        const bool frontNearUser =
            !f.airborne && gf_distanceNm(lf_userPosition(), lf_positionOf(f)) * 1852.0 < 500.0;
        if (userMoving || frontMovingOnGround || frontNearUser) return skip();
    }
    if (f.airborne || !g_parameters().COLLISION_USER_GND.current) return false;
    if (gf_distanceNm(lf_userPosition(), lf_positionOf(f)) <= 0.08099352051835854) return skip();
    return false;
}

void spawnLiveAc(LiveAc& aircraft) {
    if (aircraft.samples.size() < 2) {
        gf_logError(fmt::format("{} sz:{}", "spawnLiveAc", aircraft.samples.size()));
        return;
    }
    lf_markStationarySamples(aircraft);
    if (aircraft.phase == FlightPhase::Birth && !lf_chooseBirth(aircraft)) return;
    if (aircraft.eraseNeverCreated) return;
    aircraft.prepareCreatePosition();
    aircraft.simState = SimState::Adding2Sim;
    g_addingStack.push_back(static_cast<std::int32_t>(aircraft.hexid));
    if (!lf_endsWithUnderscore(aircraft.callsign)) lf_removeGhost(aircraft.callsign);
}

void LiveAc::prepareCreatePosition() {
    const PositionSample& f = samples.front();
    g_inSimHexids.insert(static_cast<std::int32_t>(hexid));
    simPosition.lat = f.lat;
    simPosition.lon = f.lon;
    simPosition.altitudeFt = f.altitudeFt;
    simPosition.bank = f.rollRad.value_or(0.0);
    simPosition.pitch = lf_createPitch(f);
    double heading = 0.0;
    if (respawnHeading)
        heading = *respawnHeading;
    else if (phase == FlightPhase::Parked)
        heading = standHeadingRad;
    else if (samples.size() < 2 || samples[1].stationary)
        heading = f.trackDeg * kRadPerDeg;
    else
        heading = gf_bearingRad(lf_positionOf(f), lf_positionOf(samples[1]));
    simPosition.heading = lf_wrap2Pi(heading);
    headingRate = f.airborne ? 0.0 : simPosition.heading;
    firstSampleSkipped = false;
}

bool lf_onLiveObjectCreated(LiveAc& aircraft, const SimEvent& created) {
    if (created.objectId <= 2) return false;
    gf_setLiveObjectId(aircraft, created.objectId);
    aircraft.heightAboveGround = created.value2;
    if (!aircraft.samples.empty() && !aircraft.samples.front().airborne) aircraft.parkAfterCreation();
    aircraft.setAiFlightPlan();
    MutexLock lock(g_simConnectMutex);
    if (FAILED(SimConnect_RequestDataOnSimObject(
            g_simConnect.load(), static_cast<SIMCONNECT_DATA_REQUEST_ID>(SimConnectRequestId::StaticCg),
            StaticCg, aircraft.objectId, SIMCONNECT_PERIOD_ONCE))) {
        gf_logError("SimConnect request StaticCG fails");
        gf_simRequestError();
    }
    return true;
}

void LiveAc::parkAfterCreation() {
    onGroundInSim = true;
    setGear(true);
    altStep = 0.0;
    if (phase == FlightPhase::Parked) {
        parkedSince = gf_currentWeekSlot();
        lf_setStandOccupied(standNumber, true);
        gf_logLine(fmt::format("{:8}: {:8} parks", gf_standName(standNumber), callsign));
        std::erase_if(g_parkingPlan,
                      [this](const ParkingPlanEntry& entry) { return entry.standNumber == standNumber; });
        const auto parkedStatic =
            std::find_if(g_staticAcs.begin(), g_staticAcs.end(), [this](const StaticAc& s) {
                return s.simState == SimState::Active && s.standNumber == standNumber;
            });
        if (parkedStatic != g_staticAcs.end()) {
            gf_logLine(fmt::format("{:8}: {:8} parks over static {} \x97 static will be removed",
                                   gf_standName(standNumber), callsign, parkedStatic->callsign));
            parkedStatic->removeAircraftFromSim();
        }
    }
    rotationCounter = 1;
}

void LiveAc::setAiFlightPlan() {
    if (origin.empty() || destination.empty()) return;
    std::filesystem::path path = gf_flightPlanPath(objectId);
    if (!gf_writeFlightPlan(path, *this)) path.clear();
    const auto failed = [this] {
        gf_logError(fmt::format("{} creating a flight plan failed", gf_callsignRegDesignationText(*this)));
        hasFlightPlan = false;
    };
    if (path.empty()) return failed();
    if (!g_msfs2020.load()) {
        hasFlightPlan = true;
        return;
    }
    HRESULT result = S_OK;
    {
        MutexLock lock(g_simConnectMutex);
        result = SimConnect_AISetAircraftFlightPlan(
            g_simConnect.load(), objectId, path_to_utf8(path).c_str(),
            static_cast<SIMCONNECT_DATA_REQUEST_ID>(SimConnectRequestId::FlightPlan));
    }
    if (result != S_OK) return failed();
    hasFlightPlan = true;
}

}  // namespace mrw

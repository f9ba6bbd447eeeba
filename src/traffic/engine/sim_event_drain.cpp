#include "traffic/engine/sim_event_drain.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "config/parameter_catalogue.h"
#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "platform/simconnect/simconnect.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/engine/live_spawn.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/sim/aircraft_commands.h"
#include "traffic/sim/flight_plan_files.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"

namespace mrw {

namespace {

constexpr std::int32_t kActivationTicks = 200;
constexpr double kMinStaticPitchRad = -0.017453292519943295;     // -1 degree
constexpr double kMaxStaticPitchRad = 0.04363323129985824;       // 2.5 degrees
constexpr double kDefaultStaticPitchRad = 0.012217304763960306;  // 0.7 degree

void lf_setTouchdownData(const LiveAc& aircraft) {
    const double throttle = aircraft.fsltlLivery ? -100.0 : 100.0;
    std::array<double, 3> data{100.0, throttle, throttle};
    MutexLock lock(g_simConnectMutex);
    SimConnect_SetDataOnSimObject(g_simConnect.load(), SpoilersThrottle, aircraft.objectId, 0, 0,
                                  sizeof(data), data.data());
}

void lf_touchDown(LiveAc& aircraft) {
    aircraft.derotating = true;
    aircraft.landingRoll = true;
    aircraft.touchdownHeading = aircraft.simPosition.heading;
    aircraft.approaching = false;
    aircraft.landed = true;
    aircraft.setSpoilers(true);
    if (aircraft.category != AcCategory::Light) lf_setTouchdownData(aircraft);
    if (aircraft.touchdownTicks > 0) {
        const auto ticks = static_cast<double>(aircraft.touchdownTicks);
        aircraft.pitchStep = (aircraft.staticPitchRad - aircraft.simPosition.pitch) / ticks;
        aircraft.bankStep = (0.0 - aircraft.simPosition.bank) / ticks;
    } else {
        gf_logLine(fmt::format("{} ! onGround slots {:.1f}", aircraft.callsign,
                               static_cast<double>(aircraft.touchdownTicks)));
        aircraft.pitchStep = aircraft.staticPitchRad;
        aircraft.bankStep = 0.0;
    }
    g_inSimHexids.insert(static_cast<std::int32_t>(aircraft.hexid));
}

void lf_onInRange(const SimEvent& event) {
    LiveAc* aircraft = gf_liveAcOfObject(event.objectId);
    if (aircraft == nullptr) return;
    if (event.hexid == 1 && !aircraft->onGroundInSim && aircraft->rotationCounter <= 1 &&
        aircraft->simState != SimState::RemovingFromSim && aircraft->phase != FlightPhase::TakeOff) {
        if (aircraft->flareStage != 0 || aircraft->approaching) lf_touchDown(*aircraft);
        aircraft->onGroundInSim = true;
        aircraft->altStep = 0.0;
        aircraft->rotationCounter = 1;
    }
    aircraft->heightAboveGround = event.value2;
    if (aircraft->onGroundInSim || aircraft->rotationCounter >= 2)
        aircraft->simPosition.altitudeFt = event.value1 + aircraft->staticCgFt;
}

void lf_onStaticCg(const SimEvent& event) {
    LiveAc* aircraft = gf_liveAcOfObject(event.objectId);
    if (aircraft == nullptr) return;
    if (event.value1 >= 1.0 && event.value1 <= 35.0) aircraft->staticCgFt = event.value1;
    aircraft->staticPitchRad = event.value2 <= kMinStaticPitchRad || event.value2 > kMaxStaticPitchRad
                                   ? kDefaultStaticPitchRad
                                   : event.value2;
}

void lf_eraseStaticAc(StaticAc& aircraft) {
    StaticAc& last = g_staticAcs.back();
    if (&aircraft != &last) aircraft = std::move(last);
    g_staticAcs.pop_back();
}

void lf_onCreateFailed(const SimEvent& event) {
    const auto id = static_cast<std::uint32_t>(event.hexid);
    if (id <= 10000) {
        if (StaticAc* aircraft = gf_staticAcOfNumber(id)) {
            gf_liveryNotCreated(*aircraft);
            lf_eraseStaticAc(*aircraft);
        }
    } else if (LiveAc* aircraft = gf_liveAcOfHexid(id)) {
        gf_liveryNotCreated(*aircraft);
        lf_eraseLiveAc(*aircraft);
    }
}

void lf_processEvent(const SimEvent& event) {
    switch (event.type) {
        case SimEventType::LiveCreated:
            if (LiveAc* aircraft = gf_liveAcOfHexid(static_cast<std::uint32_t>(event.hexid)))
                if (lf_onLiveObjectCreated(*aircraft, event))
                    g_createdObjects.push_back({event.objectId, event.hexid, 0, 0});
            break;
        case SimEventType::StaticCreated:
            g_createdObjects.push_back({event.objectId, event.hexid, 0, 1});
            break;
        case SimEventType::Removed:
            lf_onObjectRemoved(event.objectId);
            break;
        case SimEventType::InRange:
            lf_onInRange(event);
            break;
        case SimEventType::StaticCg:
            lf_onStaticCg(event);
            break;
        case SimEventType::CreateFailed:
            lf_onCreateFailed(event);
            break;
        default:
            break;
    }
}

void lf_queueLightToggle(std::uint32_t objectId) {
    MutexLock lock(g_simConnectMutex);
    g_clientEvents.push_back({objectId, ALL_LIGHTS_TOGGLE, 0});
}

void lf_setUpLiveLightsAndEngines(LiveAc& aircraft) {
    const std::uint32_t id = aircraft.objectId;
    if (aircraft.samples.empty() || aircraft.samples.front().airborne) {
        const bool low = aircraft.simPosition.altitudeFt <= 10000.0;
        gf_startEngines(id);
        aircraft.setSpoilers(false);
        gf_setLights(
            id, {1, 1, low ? 1u : 0u, 0, 1, low ? 1u : 0u, aircraft.heightAboveGround >= 2000.0 ? 1u : 0u});
        return;
    }
    const bool parked = aircraft.phase == FlightPhase::Parked;
    const bool taxi = aircraft.phase == FlightPhase::Taxi;
    aircraft.setSpoilers(false);
    std::uint32_t nav = 1;
    if (parked) {
        gf_shutDownEngines(id);
        nav = g_parameters().NAV_LIGHTS_WHILE_PARKED.current ? 1u : 0u;
    } else {
        gf_startEngines(id);
    }
    gf_setLights(id, {nav, parked ? 0u : 1u, 0, taxi ? 1u : 0u, 0, 1, 1});
    aircraft.setThrottle(aircraft.category == AcCategory::Rotorcraft ? 4 : 0);
    gf_setFlaps(aircraft, taxi ? 1 : 0);
}

// Counts one live entry; true when it is done. An entry whose record is gone, or belongs to another
// object now, is dropped: taking it over would send commands to an object that is not this one.
bool lf_countLiveEntry(CreatedObject& entry) {
    if (entry.ticks < kActivationTicks) {
        entry.ticks += 1;
        if (entry.ticks == 50 || entry.ticks == 100) lf_queueLightToggle(entry.objectId);
        return false;
    }
    LiveAc* aircraft = gf_liveAcOfHexid(static_cast<std::uint32_t>(entry.hexid));
    if (aircraft == nullptr || aircraft->simState != SimState::Adding2Sim ||
        aircraft->objectId != entry.objectId)
        return true;
    lf_setUpLiveLightsAndEngines(*aircraft);
    aircraft->simState = SimState::Active;
    if (aircraft->removeWhenCreated) aircraft->removeAircraftFromSim();
    return true;
}

bool lf_countStaticEntry(CreatedObject& entry) {
    if (entry.ticks < kActivationTicks) {
        entry.ticks += 1;
        return false;
    }
    StaticAc* aircraft = gf_staticAcOfNumber(static_cast<std::uint32_t>(entry.hexid));
    if (aircraft == nullptr || aircraft->simState != SimState::Adding2Sim) return true;
    aircraft->simState = SimState::Active;
    aircraft->objectId = entry.objectId;
    aircraft->setUpParked();
    gf_logLine(fmt::format("{:8}: {:8} parked", gf_standName(aircraft->standNumber), aircraft->callsign));
    if (aircraft->removeWhenCreated) aircraft->removeAircraftFromSim();
    return true;
}

void lf_removeFlightPlan(std::uint32_t objectId) {
    std::error_code error;
    std::filesystem::remove(gf_flightPlanPath(objectId), error);
    if (error) gf_logLine(fmt::format("gf_removeFlightPlan: {}", error.message()));
}

}  // namespace

void lf_processSimEvents() {
    MutexLock lock(g_simEventMutex);
    for (const SimEvent& event : g_simEvents)
        lf_processEvent(event);
    g_simEvents.clear();
    if (!g_createdObjects.empty()) lf_activateCreatedObjects();
}

void lf_activateCreatedObjects() {
    bool anyDone = false;
    for (CreatedObject& entry : g_createdObjects) {
        const bool done = entry.type == 0 ? lf_countLiveEntry(entry) : lf_countStaticEntry(entry);
        if (done) {
            entry.ticks = -1;
            anyDone = true;
        }
    }
    if (anyDone) std::erase_if(g_createdObjects, [](const CreatedObject& entry) { return entry.ticks < 0; });
}

void LiveAc::returnToBuffer() {
    simState = SimState::Buffer;
    gf_setLiveObjectId(*this, 0);
    throttleIndex = 5;  // as after a creation
    flapsIndex = 4;
}

void lf_onObjectRemoved(std::uint32_t objectId) {
    if (LiveAc* aircraft = gf_liveAcOfObject(objectId)) {
        if (aircraft->simState == SimState::LiveryRespawn) {
            aircraft->returnToBuffer();
            return;
        }
        if (aircraft->hasFlightPlan) lf_removeFlightPlan(objectId);
        // The simulator may remove an object by itself: its stand and the selection are freed here.
        lf_setStandOccupied(aircraft->standNumber, false);
        if (g_selectedObjectId.load() == objectId) {
            g_selectedObjectId.store(0);
            gf_clearSelectedAc();
        }
        lf_eraseLiveAc(*aircraft);
        return;
    }
    if (StaticAc* aircraft = gf_staticAcOfObject(objectId)) lf_eraseStaticAc(*aircraft);
}

}  // namespace mrw

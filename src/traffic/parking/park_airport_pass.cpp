#include "traffic/parking/park_airport_pass.h"

#include <algorithm>
#include <exception>
#include <optional>

#include <fmt/format.h>

#include "airports/airport_file_lookup.h"
#include "airports/airports_database.h"
#include "airports/learned_airport_files.h"
#include "airports/park_airport_file.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/thread_safety.h"
#include "foundation/time_texts.h"
#include "foundation/window_model.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/learned_files_saver.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_calculation.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/stand_lookup.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr double kUnknownPositionDegrees = 0.0001;

Lalo lf_userPosition() {
    return {g_userAcData.latitude, g_userAcData.longitude};
}

bool lf_positionKnown(const Lalo& position) {
    return std::abs(position.latitude) > kUnknownPositionDegrees ||
           std::abs(position.longitude) > kUnknownPositionDegrees;
}

std::optional<ParkAirportEntry> lf_frontEntry() {
    RecursiveMutexLock lock(g_parkAirportsMutex);
    if (g_parkAirports.empty()) return std::nullopt;
    return g_parkAirports.front();
}

bool lf_inRangeAndLow(double distanceNm) {
    const auto& settings = g_parameters();
    return distanceNm <= settings.AIRP_RANGE.current.load() &&
           g_userAcData.altitudeAboveGroundFt <= settings.AIRP_HEIGHT.current.load();
}

// The stands changed: the lookup of other threads and the uses a search passed over follow.
void lf_standsChanged() {
    g_skippedUses.clear();
    gf_publishParkStands();
}

void lf_seekParkAirport(const Lalo& position, bool initial) {
    if (g_userOnGround.load()) {
        const Airport* airport = gf_closestAirport(position, gf_readDestApfForClosestStand);
        if (airport == nullptr) {
            gf_setMessage("User aircraft on the ground, no RT supported airport in sight", true);
            return;
        }
        const std::string atAirport = fmt::format("User aircraft on the ground at {}", airport->code);
        if (!gf_hasAirportFile(airport->code)) {
            gf_setMessage(atAirport + ", no airport file found", true);
            return;
        }
        gf_logLine(atAirport);
        lf_logParkAirport(airport->code);
        g_readParkFilePending = true;
        lf_beginParkingCalculation(initial);
        return;
    }
    gf_enableControl(g_parameters().DESTINATION, true);
    const std::optional<ParkAirportEntry> front = lf_frontEntry();
    if (!front) return;
    const double distance = gf_distanceNm(position, front->position);
    if (lf_inRangeAndLow(distance) && lf_logParkAirport(front->code)) {
        gf_setMessage(fmt::format("{} in sight at {:.1F} nm", front->code, distance), true);
        g_readParkFilePending = true;
        lf_beginParkingCalculation(false);
    }
}

void lf_checkParkAirportInSight(const Lalo& position) {
    if (g_userOnGround.load()) return;
    const double parkDistance = gf_distanceNm(position, g_parkAirport.lalo());
    if (!lf_inRangeAndLow(parkDistance)) {
        gf_logLine(fmt::format("\n{} {} is out of sight ({:.1F} nm), parked aircraft will be removed",
                               gf_clockTimeOfDay(), gf_airportLabel(g_parkAirport), parkDistance));
        lf_clearParking();
        return;
    }
    const std::optional<ParkAirportEntry> front = lf_frontEntry();
    if (!front || front->code == g_parkAirport.code) return;
    const double frontDistance = gf_distanceNm(position, front->position);
    if (lf_inRangeAndLow(frontDistance) && frontDistance <= parkDistance) {
        gf_logLine(fmt::format("\n{} {} is in sight ({:.1F} nm), parked aircraft at {} will be removed first",
                               gf_clockTimeOfDay(), front->code, frontDistance,
                               gf_airportLabel(g_parkAirport)));
        lf_clearParking();
    }
}

// The stand the user stands on becomes the park airport's reserved stand in the list and its file.
void lf_reserveStandOfUser() {
    const std::string stand = gf_standNameAt(lf_userPosition());
    RecursiveMutexLock lock(g_parkAirportsMutex);
    if (!g_parkAirports.empty() && g_parkAirports.front().code == g_parkAirport.code) {
        if (stand.empty() || stand == g_parkAirports.front().reservedStand) return;
        g_parkAirports.front().reservedStand = stand;
    } else {
        g_parkAirports.push_front({stand, g_parkAirport.lalo(), 0.0, g_parkAirport.code});
    }
    gf_writeMyParkAirports();
}

void lf_takeReservedStand() {
    const std::optional<ParkAirportEntry> front = lf_frontEntry();
    MainWindow& window = g_mainWindow();
    if (front && front->code == g_parkAirport.code && !front->reservedStand.empty()) {
        const bool found = std::any_of(g_parkStands.begin(), g_parkStands.end(),
                                       [&front](const Stand& s) { return s.id == front->reservedStand; });
        g_userStandName.set(found ? front->reservedStand : std::string{});
        window.reservedStandFound = found;
    } else {
        g_userStandName.set({});
    }
    gf_invalidateInfoBand();
}

}  // namespace

void lf_beginParkingCalculation(bool showMessage) {
    gf_disableParkingControls();
    {
        MutexLock lock(TrafficReader::callsignsMutex);
        TrafficReader::callsigns.clear();
    }
    TrafficReader::collectCallsigns.exchange(true);
    if (showMessage) gf_setMessage("Calculating static parked aircraft ...", false);
}

std::string lf_readParkedFile() {
    gf_clearStands();
    lf_standsChanged();
    const std::string reference = gf_apfFileName(g_parkAirport.code);
    if (reference.empty()) return fmt::format("{} {} not found", "lf_readParkedFile", g_parkAirport.code);
    g_parkApfInfo = {};
    std::string error;
    try {
        error = gf_readApf(reference, g_parkApfInfo);
    } catch (const std::exception& e) {
        // A broken file costs this airport only: it is forgotten and tried again later.
        error = e.what();
    }
    gf_publishParkStands();
    gf_publishParkAirport();  // the file gives its elevation
    if (error.empty()) {
        if (g_userDataReceived.load()) lf_reserveStandOfUser();
        g_parkStands.shrink_to_fit();
        lf_takeReservedStand();
    }
    MainWindow& window = g_mainWindow();
    window.parkFileOk = error.empty();
    window.parkAirportText.set(g_parkApfInfo.airportName);
    gf_invalidateInfoBand();
    g_optionCount = 0;
    return error;
}

void lf_clearParking() {
    g_parkingPlan.clear();
    lf_removeAllStatics();
    for (LiveAc& ac : g_liveAcs) {
        // No stand number of this airport may reach the next one.
        ac.standPosition = {};
        ac.standHeadingRad = 0.0;
        ac.standNumber = 0;
        ac.standCargo = false;
        const bool onTheGround = ac.phase == FlightPhase::PushingBack ||
                                 ac.phase == FlightPhase::PushedBack || ac.phase == FlightPhase::Taxi ||
                                 ac.phase == FlightPhase::TakeOff || ac.phase == FlightPhase::Parked;
        if (!onTheGround) continue;
        if (ac.simState == SimState::Active) {
            ac.removeAircraftFromSim();
        } else if (ac.simState == SimState::Adding2Sim) {
            if (gf_withdrawCreateRequest(g_liveCreateQueue, ac.callsign))
                ac.eraseWithdrawn = true;
            else
                ac.removeWhenCreated = true;
        }
    }
    std::erase_if(g_liveAcs, [](const LiveAc& ac) { return ac.eraseWithdrawn; });
    lf_onParkAirportChanged();
}

void lf_onParkAirportChanged() {
    if (g_parkFileLoaded.load()) {
        lf_saveLearnedFiles();
        gf_restoreUserParameters();
    }
    g_handmade = false;
    g_parkFileLoaded = false;
    auto& settings = g_parameters();
    if (!settings.INITIAL_LOAD_ONLY.current.load()) gf_enableControl(settings.nowButton, false);
    gf_enableControl(settings.flushStaticButton, false);
    g_nowButtonAllowed = true;
    g_rtTrafficWeek = 0;
    MainWindow& window = g_mainWindow();
    window.parkAirportCode = FixedCode<4>{};
    gf_setParkAirport({});
    TrafficReader::groundElevation.reset();
    if (window.updatesCount.exchange(0) != 0) gf_invalidateStatusBand();
    g_staticRemovals.clear();
    g_parkingPlan.clear();
    gf_clearStands();
    lf_standsChanged();
    window.parkAirportText.set({});
    window.parkFileOk = false;
    window.parkPublisherText.set({});
    window.parkHandmade = 0;
    gf_invalidateInfoBand();
}

void gf_setParkAirport(const Airport& airport) {
    {
        RecursiveMutexLock lock(g_parkAirportsMutex);
        g_parkAirport = airport;
    }
    gf_publishParkAirport();
}

void gf_publishParkAirport() {
    if (g_parkAirport.code.empty())
        TrafficReader::parkAirport.store(std::nullopt);
    else
        TrafficReader::parkAirport.store(
            ParkAirportRef{g_parkAirport.lalo(), static_cast<double>(g_parkAirport.altitude)});
}

void lf_checkParkAirport(bool initial) {
    if (g_parkingUpdateRunning.load() && g_parkingPlan.empty()) {
        gf_enableParkingControls();
        gf_clearMessage();
        gf_countStaticParked(true);
        gf_countLiveParked(true);
    }
    if (g_readParkFilePending) {
        gf_clearMessage();
        g_readParkFilePending = false;
        const std::string error = lf_readParkedFile();
        if (error.empty()) {
            g_parkingCountdown = 20;
            lf_calculateStaticParking();
        } else {
            gf_enableParkingControls();
            gf_setMessage(error, true);
            lf_onParkAirportChanged();
        }
        gf_enableControl(g_parameters().DESTINATION, true);
        return;
    }
    const Lalo position = lf_userPosition();
    if (!lf_positionKnown(position)) return;
    lf_findParkAirport(position);
    if (!g_parkAirport.code.empty())
        lf_checkParkAirportInSight(position);
    else
        lf_seekParkAirport(position, initial);
}

}  // namespace mrw

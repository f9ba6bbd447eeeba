#include "traffic/model/main_loop_state.h"

#include <fmt/format.h>

#include <chrono>
#include <string>

#include "aircraft/matching_summary.h"
#include "app/button_handlers.h"
#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_helpers.h"
#include "foundation/thread_safety.h"
#include "foundation/time_texts.h"
#include "run/main_loop_internal.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "traffic/engine/engine_limits.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/engine/sim_event_drain.h"
#include "traffic/engine/window_requests.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airport_pass.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/parking_adjustments.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_dispatch.h"

namespace mrw {

namespace {

constexpr auto kTickPeriod = std::chrono::milliseconds(10);
constexpr auto kMaxLag = std::chrono::milliseconds(100);
constexpr std::int32_t kMessageBeats = 25;
constexpr int kNotRunningStepTicks = 100;

// Ticks to the next once-a-second step while no flight runs.
int g_notRunningTickCount = kNotRunningStepTicks;

void lf_setIntake(bool open) {
    MutexLock lock(g_trafficMutex);
    g_injectionActive = open;
}

// One hexid a beat of those that entered the simulator: its option callsigns, then its static twin.
void lf_checkOneInSimHexid() {
    if (g_inSimHexids.empty()) return;
    const std::int32_t hexid = *g_inSimHexids.begin();
    for (LiveAc& ac : g_liveAcs) {
        if (ac.hexid != static_cast<std::uint32_t>(hexid)) continue;
        if (!ac.optionCallsignsTaken) {
            lf_takeOptionCallsigns(gf_currentWeekSlot(), ac);
            ac.optionCallsignsTaken = true;
        }
        lf_removeStaticDuplicate(ac);
        break;
    }
    g_inSimHexids.erase(hexid);
}

LiveAc* lf_activeLiveAcWithCallsign(const std::string& callsign) {
    for (LiveAc& ac : g_liveAcs) {
        if (ac.simState == SimState::Active && ac.callsign == callsign) return &ac;
    }
    return nullptr;
}

void lf_lookUpCallsignObjectId() {
    const std::string callsign = g_parameters().CALLSIGN_2_OBJECTID.current.get();
    if (const LiveAc* ac = lf_activeLiveAcWithCallsign(callsign)) {
        g_selectedObjectId = ac->objectId;
        g_mainWindow().callsignObjectIdText.set(fmt::format("= {}", gf_idText(ac->objectId)));
    } else {
        g_mainWindow().callsignObjectIdText.set("has left");
    }
    gf_invalidateControlPanel();
    g_csToOidLookup = false;
}

void lf_applyCollisionRules() {
    ParameterCatalogue& p = g_parameters();
    if (g_userOnGround.load()) {
        if (p.COLLISION_USER_GND.current) lf_removeStaticsNearUser();
    } else if (p.COLLISION_USER_AIR.current) {
        lf_removeLiveInUserPath();
    }
    if (p.COLLISION_LIVE_PARKED_GND.current) lf_clearStaticsInLivePaths();
}

void lf_blockCallsign() {
    const std::string callsign = g_parameters().BLOCK_CALLSIGN.current.get();
    if (!callsign.empty() && !g_liveAcs.empty()) {
        if (LiveAc* ac = lf_activeLiveAcWithCallsign(callsign)) ac->removeAircraftFromSim();
    }
    g_blockCallsignRequest = false;
}

void lf_clearMessageAndError() {
    MainWindow& window = g_mainWindow();
    {
        MutexLock lock(window.messageMutex);
        window.errorMessage.clear();
    }
    gf_clearMessage();
}

// The two phases of a static-parking update, 15 s apart: collect the live callsigns, then adjust.
void lf_parkingUpdateStep() {
    if (!g_parkingUpdateRequest.load()) return;
    if (!g_parkingUpdatePhase) {
        g_parkingUpdatePhase = true;
        gf_disableParkingControls();
        {
            MutexLock lock(TrafficReader::callsignsMutex);
            TrafficReader::callsigns.clear();
        }
        TrafficReader::collectCallsigns = true;
        return;
    }
    g_parkingUpdatePhase = false;
    lf_clearMessageAndError();
    if (!g_parkAirport.code.empty() && !g_parkStands.empty()) lf_adjustParking();
    g_parkingUpdateRequest = false;
}

void lf_everyMinute(unsigned duties) {
    ParameterCatalogue& p = g_parameters();
    if (--g_parkingCountdown <= 0) {
        g_parkingCountdown = 20;
        if (g_parkFileLoaded.load() && !p.INITIAL_LOAD_ONLY.current && !g_parkingUpdateRunning.load() &&
            !g_parkingUpdateRequest.load()) {
            lf_announceParkingUpdate();
        }
    }
    g_mainWindow().minutesToParkingUpdate = g_parkingCountdown.load();
    gf_invalidateControlPanel();
    if (p.OBJECTID_LIST.current) lf_writeObjectIdList();
    if (duties & kNoMatchListDuty) gf_logNoMatch();
    if (duties & kDailyDuty) {
        g_runSeconds = 0;
        gf_logMatchingSummary();
        g_liveryOfHexid.clear();
    }
}

void lf_fiveSecondDuties(unsigned duties) {
    TrafficReader::referencePosition.store(Lalo{g_userAcData.latitude, g_userAcData.longitude});
    if (g_rtProfessional.load()) lf_sendSimTime(g_simTimeEpoch.load());
    const std::string userStand = g_userStandName.get();
    if (!userStand.empty()) lf_clearUserStand(userStand);
    lf_handleReread();
    if (duties & kFifteenSecondDuties) lf_every15Seconds();
}

void lf_otherSecondDuties(unsigned duties) {
    if ((duties & kParkAirportPassDuty) && !g_parkingUpdatePhase) lf_checkParkAirport(false);
    if (duties & kReaderLampsDuty) gf_updateReaderLamps();
    if (duties & kStaticTwinsDuty) lf_removeStaticTwins();
}

}  // namespace

unsigned gf_dutiesOfBeat(std::int32_t c) {
    unsigned duties = 0;
    if (c % 5 == 0) {
        duties |= kFiveSecondDuties;
        if (c % 15 == 0) duties |= kFifteenSecondDuties;
        if (c % 30 == 0) duties |= kThirtySecondDuties;
        if (c % 60 == 0) duties |= kMinuteDuties;
        if (c % 1200 == 0) duties |= kNoMatchListDuty;
        if (c % 86400 == 0) duties |= kDailyDuty;
        return duties;
    }
    // Beats of the five-second duties skip these.
    if (c % 16 == 0) duties |= kParkAirportPassDuty;
    if (c % 59 == 0) duties |= kReaderLampsDuty;
    if (c % 61 == 0) duties |= kStaticTwinsDuty;
    return duties;
}

void gf_waitForNextTick(SteadyTime& deadline) {
    const SteadyTime now = gf_steadyNow();
    // A lag above 100 ms drops the missed ticks; a smaller one is caught up by back-to-back ticks.
    SteadyTime wake = now > deadline + kMaxLag ? now + kTickPeriod : deadline;
    if (std::chrono::duration_cast<std::chrono::milliseconds>(wake - now).count() >= 1) gf_sleepUntil(wake);
    // The simulator's second re-phases the grid.
    if (g_newSimSecond.load()) wake = gf_steadyNow();
    deadline = wake + kTickPeriod;
}

void lf_mainLoop() {
    lf_checkParkAirport(true);
    gf_updateReaderLamps();
    g_runSeconds = 0;
    const SteadyTime t0 = gf_steadyNow();
    gf_refreshWeekSlot();
    lf_setIntake(true);
    SteadyTime deadline = t0 + kTickPeriod;
    g_parameters().CALLSIGN_2_OBJECTID.fillCombo();
    gf_enableControl(g_parameters().csToOidButton, true);
    const TimerPeriodGuard timerPeriod(1);
    if (!lf_mainLoopTick()) return;
    do {
        gf_waitForNextTick(deadline);
    } while (lf_mainLoopTick());
}

bool lf_mainLoopTick() {
    if (!g_simRunning.load() || g_simConnectError.load()) {
        lf_flightNotRunning();
        return !gf_stopping();
    }
    lf_handleAddingStack();
    // A plain tick tests the stop flags too: should the per-second datum stop arriving while the
    // flight runs, a stop request must still end the run.
    if (!g_newSimSecond.exchange(false)) return !gf_stopping();
    lf_everySecond();
    if (gf_stopping()) return false;
    const unsigned duties = gf_dutiesOfBeat(g_runSeconds);
    if (duties & kFiveSecondDuties) {
        lf_fiveSecondDuties(duties);
    } else {
        lf_otherSecondDuties(duties);
    }
    return true;
}

void gf_publishAutoRangeInputs() {
    AutoRangeInputs inputs;
    inputs.userOnGround = g_userOnGround.load();
    inputs.userAltitudeFeet = g_userAcData.altitudeFt;
    inputs.userPosition = Lalo{g_userAcData.latitude, g_userAcData.longitude};
    {
        RecursiveMutexLock lock(g_parkAirportsMutex);
        if (!g_parkAirports.empty()) inputs.firstParkAirport = g_parkAirports.front().position;
    }
    gf_setAutoRangeInputs(inputs);
}

void lf_everySecond() {
    if (g_flightNotRunningLogged) {
        g_flightNotRunningLogged = false;
        gf_logLine(fmt::format("{} Flight resumed", gf_utcTimeOfDay()));
        lf_setIntake(true);
    }
    MainWindow& window = g_mainWindow();
    const std::int32_t counter = ++window.secondsCounter;
    std::int32_t messageSecond = 0;
    {
        MutexLock lock(window.messageMutex);
        messageSecond = window.messageSecond;
    }
    if (messageSecond > 0 && counter - messageSecond >= kMessageBeats) gf_clearMessage();
    lf_refreshCounters();
    gf_refreshWeekSlot();
    ++g_runSeconds;
    lf_checkOneInSimHexid();
    if (g_csToOidLookup.load()) lf_lookUpCallsignObjectId();
    if (g_flushStaticRequest.exchange(false)) {
        lf_removeAllStatics();
        CheckBoxParameter& initialLoadOnly = g_parameters().INITIAL_LOAD_ONLY;
        if (!initialLoadOnly.current) {
            initialLoadOnly.current = true;
            initialLoadOnly.showCheck();
        }
    }
    if (g_csToOidRequest.exchange(false)) {
        window.callsignObjectIdText.set("");
        gf_invalidateControlPanel();
        lf_refreshSelectableAcs();
        g_csToOidLookup = true;
    }
    gf_serveWindowRequests();
    gf_publishAutoRangeInputs();
    lf_applyCollisionRules();
    if (g_blockCallsignRequest.load()) lf_blockCallsign();
    if (g_parkingUpdateRunning.load()) {
        window.pendingStaticCount = g_parkingPlan.size();
        gf_invalidateInfoBand();
    }
}

void lf_every15Seconds() {
    lf_parkingUpdateStep();
    MainWindow& window = g_mainWindow();
    if (window.trafficReaderStatus == ReaderStatus::NothingNew ||
        window.weatherReaderStatus == ReaderStatus::NothingNew) {
        gf_updateReaderLamps();
    }
    const unsigned duties = gf_dutiesOfBeat(g_runSeconds);
    if (!(duties & kThirtySecondDuties)) return;
    if (g_noMatchClearRequest.exchange(false)) gf_clearNoMatch();
    if (g_parameters().AUTO_RANGE.current) lf_autoRange();
    if (duties & kMinuteDuties) lf_everyMinute(duties);
}

void lf_flightNotRunning() {
    if (!g_flightNotRunningLogged) {
        lf_setIntake(false);
        g_flightNotRunningLogged = true;
        g_notRunningTickCount = kNotRunningStepTicks;
        {
            MutexLock lock(g_simConnectMutex);
            for (auto& buffer : g_positionUpdateBuffers)
                buffer.clear();
        }
        gf_logLine(fmt::format("{} Flight not running", gf_utcTimeOfDay()));
    }
    lf_processSimEvents();
    --g_notRunningTickCount;
    if (g_notRunningTickCount % kNotRunningStepTicks == 0) {
        lf_handleReread();
        lf_sendUserPosition();
    }
    if (g_notRunningTickCount <= 0) {
        g_notRunningTickCount = kNotRunningStepTicks;
        lf_refreshCounters();
        gf_refreshWeekSlot();
    }
}

void lf_handleReread() {
    if (!g_rereadRequest.load() || g_parkingUpdateRunning.load()) return;
    std::string message;
    if (lf_checkParkAirports(true, message)) gf_setMessage(message, true);
    ParameterCatalogue& p = g_parameters();
    gf_enableControl(p.rereadButton, true);
    gf_enableControl(p.DESTINATION, true);
    g_rereadRequest = false;
}

}  // namespace mrw

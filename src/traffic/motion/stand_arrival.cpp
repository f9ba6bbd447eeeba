// Driving a live aircraft onto the stand that was chosen for it, and its arrival there.

#include <fmt/format.h>

#include <algorithm>

#include "aircraft/aircraft_texts.h"
#include "foundation/clock.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/parked_limit.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/sim/aircraft_commands.h"

namespace mrw {

namespace {
constexpr double kTwoMetresNm = 0.0010799136069114472;
}  // namespace

void LiveAc::drive2Stand(Lalo standLalo, double standHeading) {
    if (samples.empty()) {
        gf_logError(fmt::format("{} empty sz?", "drive2Stand"));
        return;
    }
    PositionSample& last = samples.back();
    const std::int32_t t = std::max(
        gf_roundTicks(gf_distanceNm(gf_lalo(last), standLalo) * kTicksPerHour / manoeuvreSpeedKt), 100);
    const PositionSample& front = samples.front();
    PositionSample atStand;
    atStand.lat = standLalo.latitude;
    atStand.lon = standLalo.longitude;
    atStand.altitudeFt = simPosition.altitudeFt;
    atStand.groundSpeedKt = manoeuvreSpeedKt;
    atStand.trueAirspeedKt = manoeuvreSpeedKt;
    atStand.trackDeg = standHeading * kDegPerRad;
    atStand.dueTick = gf_tickAfter(front.dueTick, t);
    atStand.stationary = gf_samePosition(gf_lalo(last), standLalo);
    atStand.headingFromAdsb = front.headingFromAdsb;
    atStand.rollRad = simPosition.bank;
    last.groundSpeedKt = manoeuvreSpeedKt;

    PositionSample stop = atStand;
    stop.groundSpeedKt = 0;
    stop.trueAirspeedKt = 0;
    stop.stationary = true;
    stop.dueTick = gf_tickAfter(front.dueTick, 50 + static_cast<std::int64_t>(t));
    samples.push_back(atStand);
    samples.push_back(stop);

    targetHeading = standHeading;
    if (streamEndState > 0) {
        streamEndState = 0;
        resetTimingLimits();
    }
}

void LiveAc::arriveAtStand() {
    const Stand* stand = gf_findParkStand(standNumber);
    if (stand != nullptr && stand->occupied) {
        // Another live aircraft stands there. This one gives the stand up, so that its removal (by
        // nextPosMain, once the countdown below ends) leaves the other aircraft's stand occupied.
        standNumber = 0;
        streamEndState = 1;
        return;
    }
    if (gf_distanceNm(gf_lalo(simPosition), standPosition) > kTwoMetresNm) {
        setPhase(FlightPhase::Taxi);
        return;
    }
    setPhase(FlightPhase::Parked);
    parkedSince = gf_currentWeekSlot();
    lf_setStandOccupied(standNumber, true);
    if (quickTurnaround) gf_logLine(fmt::format("          towed aircraft {} parks", gf_aircraftText(*this)));
    if (!samples.empty()) samples.front().stationary = true;
    parkedAt = gf_wallClock100ns();
    standMaxDistance = 0;
    moveCount = 0;
    updateStandCargoFlag();
    setUpParked();
    gf_logLine(fmt::format("{:8}: {:8} arrived at stand", gf_standName(standNumber), callsign));
    g_inSimHexids.insert(static_cast<std::int32_t>(hexid));
    lf_addRealStandOption(standNumber, *this, 0);
    lf_enforceMaxPark(false);
}

void LiveAc::updateStandCargoFlag() {
    if (standCargo || designation.isCargo == 0) return;
    Stand* stand = gf_findParkStand(standNumber);
    if (stand == nullptr || !stand->cargo) return;
    stand->cargo = false;
    stand->cargoChanged = true;
    gf_countRecordedUse();
}

}  // namespace mrw

// When a live aircraft's stream runs out: it arrives at its stand, holds while taxiing, or goes on
// along extrapolated samples for a while before it is removed.

#include <algorithm>
#include <cmath>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr std::int32_t kTicksPerWeek = 60480000;

// The category's own switch; Buzjets, Large and Heavy have none.
bool lf_categoryAllowed(AcCategory category) {
    const ParameterCatalogue& p = g_parameters();
    switch (category) {
        case AcCategory::Light:
            return p.LIGHT_AIRCRAFT.current.load();
        case AcCategory::HighPerf:
            return p.HIGH_PERF_AIRCRAFT.current.load();
        case AcCategory::Rotorcraft:
            return p.HELICOPTERS.current.load();
        default:
            return true;
    }
}

// The user position is known once its latitude or longitude lies more than 0.0001 from 0.
bool lf_userPositionKnown(const UserAcData& user) {
    return std::fabs(user.latitude) > 1e-4 || std::fabs(user.longitude) > 1e-4;
}

// Another taxiing aircraft close enough to collide with a holding one.
bool lf_blockedByTaxiingAircraft(const LiveAc& ac) {
    return std::any_of(g_liveAcs.begin(), g_liveAcs.end(), [&ac](const LiveAc& other) {
        return &other != &ac && other.onGroundInSim && other.phase == FlightPhase::Taxi &&
               other.simState == SimState::Active && other.objectId != ac.objectId &&
               gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(other.simPosition)) <=
                   1.2 * (ac.halfSpanNm + other.halfSpanNm);
    });
}

bool lf_hold(LiveAc& ac) {
    if (lf_blockedByTaxiingAircraft(ac)) {
        ac.holding = false;
        ac.holdStartTick = 0;
        return false;
    }
    const std::int32_t now = g_engineTick.load();
    const std::int32_t maxMinutes = g_parameters().MAX_HOLDING_MINUTES.current.load();
    if (ac.holding) {
        if (g_parameters().AIRBORNE_ONLY.current.load()) return false;
        if ((now - ac.holdStartTick) / 6000 > maxMinutes) return false;
    } else {
        ac.holdStartTick = now;
    }
    ac.holding = true;
    PositionSample wait = ac.samples.front();
    // Waits of 300 ticks counted from the start of the hold, so that the last one ends when the
    // holding time is up rather than up to a wait later.
    const std::int64_t held = static_cast<std::int64_t>(now) - ac.holdStartTick;
    const std::int64_t holdEnd = static_cast<std::int64_t>(ac.holdStartTick) + (maxMinutes + 1) * 6000;
    const std::int64_t nextWait = ac.holdStartTick + (held / 300 + 1) * 300;
    wait.dueTick = gf_tickAfter(std::min(nextWait, holdEnd), 0);
    wait.groundSpeedKt = 0;
    wait.stationary = true;
    ac.samples.push_back(wait);
    ac.streamEndState = 1;
    return true;
}

// The countdown at the first run-out: how many extrapolated samples the aircraft gets; 0 = none.
std::int32_t lf_firstCountdown(const LiveAc& ac) {
    if (!lf_categoryAllowed(ac.category)) return 0;
    if (ac.onGroundInSim) return ac.phase == FlightPhase::Parked ? 1 : 10;
    const UserAcData user = g_userAcData;
    if (lf_userPositionKnown(user) &&
        gf_distanceNm({user.latitude, user.longitude}, gf_lalo(ac.simPosition)) >= g_rangeNm.load() - 0.5) {
        return 0;
    }
    if (g_parameters().AIRBORNE_ONLY.current.load()) {
        const double field = g_parkAirport.code.empty() ? 0.0 : g_parkAirport.altitude;
        if (std::fabs(ac.simPosition.altitudeFt - field) <= 1000) return 0;
    }
    return 8;
}

double lf_landingRollSpeedKt(double g) {
    if (g >= 140) return 100;
    if (g >= 100) return 80;
    if (g >= 80) return 60;
    if (g >= 60) return 30;
    return 20;
}

// The take-off roll's speed (and from 100 kt its climb rate).
void lf_takeOffRollSpeed(PositionSample& s) {
    const double g = s.groundSpeedKt;
    if (g <= 30) {
        s.groundSpeedKt = 40;
    } else if (g <= 60) {
        s.groundSpeedKt = 80;
    } else if (g <= 100) {
        s.groundSpeedKt = 110;
    } else if (g <= 140) {
        s.groundSpeedKt = 150;
        s.verticalRateFpm = 600;
    } else if (g <= 160) {
        s.groundSpeedKt = 170;
        s.verticalRateFpm = 1200;
    } else {
        s.groundSpeedKt = 180;
        s.verticalRateFpm = 2400;
    }
}

void lf_makeStationary(PositionSample& s) {
    s.groundSpeedKt = 0;
    s.stationary = true;
}

}  // namespace

bool LiveAc::onStreamEnd() {
    if (phase == FlightPhase::Parking) {
        arriveAtStand();
    } else if ((phase == FlightPhase::Taxi && !takeOffRoll && !landingRoll) ||
               phase == FlightPhase::PushedBack) {
        return lf_hold(*this);
    }
    const std::int32_t b = streamEndState;
    if (b < 0) return false;
    if (b == 1) {
        streamEndState = -1;
        return false;
    }
    if (b > 1) {
        // A countdown begun on the ground (a take-off roll) that goes on in the air, where each sample
        // lasts 8 s rather than 3 s, keeps to the air's eight samples.
        extrapolateSample(onGroundInSim ? b - 1 : std::min(b - 1, 7));
        return true;
    }
    const std::int32_t count = lf_firstCountdown(*this);
    if (count == 0) return false;
    extrapolateSample(count);
    return true;
}

void LiveAc::extrapolateSample(std::int32_t count) {
    streamEndState = count;
    PositionSample s = samples.front();
    const double secs = onGroundInSim ? 3 : 8;
    const bool parked = phase == FlightPhase::Parked;
    if (s.stationary || parked) {
        lf_makeStationary(s);
    } else if (onGroundInSim) {
        if (landingRoll) {
            s.groundSpeedKt = lf_landingRollSpeedKt(s.groundSpeedKt);
            s.verticalRateFpm = 0;
        } else if (takeOffRoll) {
            lf_takeOffRollSpeed(s);
        } else {
            lf_makeStationary(s);
        }
    } else if (approaching) {
        if (count >= 4) s.groundSpeedKt = std::max(0.9 * s.groundSpeedKt, 1.0);
    } else {
        s.groundSpeedKt = std::max(0.95 * s.groundSpeedKt, 1.0);
    }
    if (s.groundSpeedKt > 0) {
        const Lalo ahead = gf_destinationPoint(gf_lalo(s), simPosition.heading,
                                               secs * 100 * s.groundSpeedKt * kFeetPerNm / kTicksPerHour);
        s.stationary = gf_samePosition(gf_lalo(s), ahead);
        s.lat = ahead.latitude;
        s.lon = ahead.longitude;
        if (approaching && flareStage == 0) {
            s.verticalRateFpm = -667;
            s.altitudeFt -= secs * 10.005;
        } else if (phase == FlightPhase::TakeOff) {
            s.verticalRateFpm = 1500;
            s.altitudeFt += secs * 25;
        }
        s.airborne = s.altitudeFt > 0;
        if (!s.airborne) s.altitudeFt = 0;
    }
    s.dueTick = gf_tickAfter(s.dueTick, parked ? kTicksPerWeek : static_cast<std::int64_t>(secs * 100));
    // The stand stays occupied: it is given up only when the aircraft departs or is removed.
    if (parked) parkedTimeExempt = false;
    samples.push_back(s);
}

}  // namespace mrw

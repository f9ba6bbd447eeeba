// New samples of a live aircraft past its birth: parked aircraft that start to leave, pushed-back
// aircraft that start to taxi, streams that are fed again, and noise on the ground.

#include <fmt/format.h>

#include <cmath>
#include <limits>

#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/stand_use_learning.h"

namespace mrw {

namespace {

constexpr double kStandAreaNm = 0.0458963282937365;    // 85 m
constexpr double kLeaveStandNm = 0.10799136069114472;  // 200 m
constexpr double kThreeMetresNm = 0.0016198704103671706;
constexpr double kNoiseDeg = 0.00015;
constexpr std::int32_t kTicksPerWeek = 60480000;

// Ticks parked below which a departure is a quick turnaround; 0 = never.
std::int64_t lf_quickTurnaroundTicks(AcCategory category) {
    switch (category) {
        case AcCategory::Heavy:
            return 360000;
        case AcCategory::Large:
            return 150000;
        case AcCategory::Buzjets:
            return 90000;
        default:
            return 0;
    }
}

void lf_clearStandFields(LiveAc& ac) {
    ac.standPosition = {};
    ac.standHeadingRad = 0;
    ac.standNumber = 0;
    ac.standCargo = false;
}

// A sample while parked or driving onto the stand.
bool lf_sampleAtStand(LiveAc& ac, PositionSample& sample) {
    if (ac.simState == SimState::Buffer || ac.simState == SimState::Adding2Sim) return false;
    ac.parkedTimeExempt = true;
    const double d = gf_distanceNm(ac.standPosition, gf_lalo(sample));
    const double limit = ac.previousPhase == FlightPhase::Parking ? 2 * kStandAreaNm : kStandAreaNm;
    if (d <= limit) {
        ac.parkedAt = gf_wallClock100ns();
        if (ac.standMaxDistance == 0) {
            ac.standStartDistance = d;
            ac.standMaxDistance = d;
            ac.moveCount = 0;
            ac.leavingStand = false;
            return false;
        }
        if (d >= ac.standMaxDistance + kThreeMetresNm) {
            ac.standMaxDistance = d;
            ++ac.moveCount;
            const double moved = d - ac.standStartDistance;
            if ((ac.moveCount >= 3 && moved >= ac.halfSpanNm / 2) || moved > ac.halfSpanNm) {
                ac.prepareDeparture(sample);
                return true;
            }
        } else if (d <= ac.standMaxDistance - kThreeMetresNm) {
            ac.moveCount = 0;
        }
        ac.leavingStand = false;
        return false;
    }
    if (ac.phase == FlightPhase::Parking) {
        ac.setPhase(FlightPhase::Taxi);
        sample.stationary = false;
        return true;
    }
    if (d <= kLeaveStandNm) {
        ac.prepareDeparture(sample);
        return true;
    }
    lf_addRealStandOption(ac.standNumber, ac, 3);
    ac.removeAircraftFromSim();
    return false;
}

// The first moving samples after a pushback was built decide the turn at its end.
void lf_decidePushbackTurn(LiveAc& ac, const PositionSample& sample) {
    if (g_parameters().STRAIGHT_PBS_ONLY.current.load() || ac.pushbackCounter != 2) return;
    double heading = std::numeric_limits<double>::quiet_NaN();
    if (sample.headingRad) {
        heading = *sample.headingRad;
    } else if (sample.trackDeg != 0) {
        heading = sample.trackDeg * kRadPerDeg;
    }
    if (std::isnan(heading)) return;
    ac.pushbackTurnsRight = gf_wrapPi(heading - ac.simPosition.heading) > 0;
    ac.pushbackTurnKnown = true;
}

// A pushed-back aircraft taxies once its samples lead away; until then it waits.
bool lf_sampleAfterPushback(LiveAc& ac, PositionSample& sample) {
    const double d = gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(sample));
    const double h = ac.halfSpanNm;
    if ((d > 2.75 * h && d > ac.pushbackLastDistance) || d > 6 * h) {
        sample.stationary = false;
        if (ac.streamEndState > 0) {
            if (!ac.samples.empty()) ac.samples.front().dueTick = g_engineTick.load() + 1;
            ac.streamEndState = 0;
            ac.resetTimingLimits();
        }
        ac.pushbackTurnKnown = false;
        ac.pushbackCounter = 0;
        ac.setPhase(FlightPhase::Taxi);
        lf_clearStandFields(ac);
        ac.holding = false;
        ac.holdStartTick = 0;
        return true;
    }
    if (!ac.holding) {
        ac.holding = true;
        ac.holdStartTick = g_engineTick.load();
    }
    ac.pushbackLastDistance = d;
    return false;
}

// A sample of a moving aircraft; a stream that had run out is fed again.
bool lf_sampleWhileMoving(LiveAc& ac, PositionSample& sample) {
    if (ac.approaching || ac.landingRoll) return ac.checkNewPosDuringLanding(sample);
    if (!ac.acceptGroundSample(sample)) return false;
    if (ac.streamEndState <= 0) return true;
    if (ac.samples.empty()) {
        gf_logError(fmt::format("{} empty sz?", "checkExtendingSituations"));
        return false;
    }
    if (!ac.onGroundInSim) {
        const double off =
            gf_wrapPi(gf_bearingRad(gf_lalo(ac.samples.back()), gf_lalo(sample)) - ac.simPosition.heading);
        if (std::fabs(off) * kDegPerRad >= 100) return false;
    }
    ac.streamEndState = 0;
    ac.resetTimingLimits();
    ac.samples.front().dueTick = g_engineTick.load() + 1;
    ac.holding = false;
    ac.holdStartTick = 0;
    return true;
}

}  // namespace

bool LiveAc::checkExtendingSituations(PositionSample& sample) {
    switch (phase) {
        case FlightPhase::Parking:
        case FlightPhase::Parked:
            return lf_sampleAtStand(*this, sample);
        case FlightPhase::PushingBack:
            lf_decidePushbackTurn(*this, sample);
            return false;
        case FlightPhase::PushedBack:
            return lf_sampleAfterPushback(*this, sample);
        default:
            return lf_sampleWhileMoving(*this, sample);
    }
}

bool LiveAc::acceptGroundSample(PositionSample& sample) {
    if (samples.empty()) return true;
    const PositionSample& last = samples.back();
    sample.stationary = gf_samePosition(gf_lalo(last), gf_lalo(sample));
    if (category == AcCategory::Rotorcraft) return true;
    // Noise: an airborne sample at a standing position, an aircraft flying in the simulator, or a
    // stop reported while the take-off roll runs fast.
    const auto noise = [&](double lastSpeedKt) {
        return sample.airborne || (simState == SimState::Active && !onGroundInSim) ||
               (takeOffRoll && sample.groundSpeedKt > 0 && last.groundSpeedKt >= lastSpeedKt);
    };
    if (sample.stationary) {
        if (noise(30)) return false;
        sample.groundSpeedKt = 0;
        return true;
    }
    if (std::fabs(sample.lat - last.lat) <= kNoiseDeg && std::fabs(sample.lon - last.lon) <= kNoiseDeg) {
        if (noise(50)) return false;
        sample = last;
        sample.groundSpeedKt = 0;
        sample.stationary = true;
        return true;
    }
    if (sample.groundSpeedKt == 0 && (takeOffRoll || sample.airborne)) return last.groundSpeedKt < 50;
    return true;
}

void LiveAc::prepareDeparture(PositionSample& sample) {
    sample.stationary = false;
    leavingStand = true;
    if (previousPhase == FlightPhase::Parked) return;
    if (streamEndState > 0) {
        if (phase == FlightPhase::Parked && !samples.empty()) {
            if (landed) {
                // The front sample was put a week ahead when the stream ran out.
                const std::int64_t parkedTicks =
                    static_cast<std::int64_t>(g_engineTick.load()) - samples.front().dueTick + kTicksPerWeek;
                if (parkedTicks < lf_quickTurnaroundTicks(category)) quickTurnaround = true;
                landed = false;
            }
            samples.front().dueTick = g_engineTick.load() + 1;
        }
        streamEndState = 0;
        resetTimingLimits();
    }
    lf_addRealStandOption(standNumber, *this, 2);
    lf_setStandOccupied(standNumber, false);
    setPhase(FlightPhase::Parked);
}

}  // namespace mrw

// What a live aircraft on the ground does at each sample: curves, mid samples, leg times, the
// take-off roll and the roll-out after landing.

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>

#include "aircraft/aircraft_texts.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/thread_safety.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/sim_queues.h"
#include "traffic/motion/motion_internal.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/aircraft_commands.h"
#include "traffic/sim/sim_client.h"

namespace mrw {

namespace {

// Data definition 401: spoilers handle and throttle levers of an AI object.
constexpr SIMCONNECT_DATA_DEFINITION_ID kSpoilersThrottleDefinition = 401;
constexpr double kFiftyMetresNm = 0.02699784017278618;
constexpr double kThirtyFiveMetresNm = 0.018898488120950324;

// The span between two samples' due ticks, at least 25 (25 when the second is earlier).
std::int64_t lf_dueSpan(const PositionSample& s0, const PositionSample& s1) {
    const std::int64_t span = static_cast<std::int64_t>(s1.dueTick) - s0.dueTick;
    return span >= 25 ? span : 25;
}

bool lf_standingPhase(FlightPhase phase) {
    return phase == FlightPhase::Parked || phase == FlightPhase::PushingBack ||
           phase == FlightPhase::PushedBack;
}

// The pushback's curve step (stepGround later paces it by the leg time).
void lf_startPushbackCurve(LiveAc& ac) {
    if (ac.pushbackTurnKnown) {
        if (ac.pushbackTurnsRight && !ac.samples.empty()) ac.samples.back() = ac.pushbackOtherEnd;
        ac.buildCurve();
        const std::int32_t k = std::max(gf_roundTicks(90 / ac.turnStep / 100), 1);
        ac.curveStep = 1.0 / k;
        ac.curveAngleDeg = 90;
    } else if (!ac.samples.empty()) {
        ac.samples.pop_back();
    }
}

void lf_endPushback(LiveAc& ac) {
    ac.targetHeading = ac.simPosition.heading;
    gf_startEngines(ac.objectId);
    ac.setThrottle(0);
    gf_setFlaps(ac, 1);
    ac.setPhase(FlightPhase::PushedBack);
    ac.pushbackCounter = 1;
    ac.pushbackLastDistance = 900;
    ac.streamEndState = 0;
    ac.leavingStand = false;
}

void lf_leaveStandOrWait(LiveAc& ac) {
    ac.earlyLimit = 3000;
    ac.lateLimit = ac.takeOffRoll ? 5000 : 3000;
    if (!ac.leavingStand || ac.samples.empty()) return;
    const double a =
        gf_wrapPi(gf_bearingRad(ac.standPosition, gf_lalo(ac.samples.back())) - ac.standHeadingRad);
    const std::int32_t degrees = gf_roundTicks(a * kDegPerRad);
    if (std::abs(degrees) >= 90) {
        ac.startPushback();
    } else {
        ac.startPullOut();
    }
}

// A taxi leg: a curve through the next sample, a mid sample, or a straight leg.
void lf_shapeTaxiLeg(LiveAc& ac) {
    auto& samples = ac.samples;
    if (samples.size() >= 3) {
        if (samples[2].stationary) {
            ac.splitOnSpeedChange();
        } else {
            const double d = std::fabs(ac.headingErrorToNext()) * kDegPerRad;
            const PositionSample& s0 = samples[0];
            const PositionSample& s1 = samples[1];
            if (d <= 3) {
                ac.splitOnSpeedChange();
            } else if (d > 45 && gf_distanceNm(gf_lalo(s0), gf_lalo(s1)) > kFiftyMetresNm &&
                       s0.groundSpeedKt <= 43 && s1.dueTick >= s0.dueTick && lf_dueSpan(s0, s1) >= 600) {
                ac.insertMidSample();
            } else if (d <= 160 && !gf_samePosition(gf_lalo(samples[2]), gf_lalo(s0))) {
                ac.buildCurve();
                ac.curveAngleDeg = d;
            } else {
                ac.splitOnSpeedChange();
            }
        }
    } else if (ac.streamEndState <= 0) {
        ac.splitOnSpeedChange();
    }
    if (ac.curve.exists()) {
        ac.turnInPlace = false;
    } else {
        ac.turnInPlaceDeg = std::fabs(gf_wrapPi(ac.targetHeading - ac.simPosition.heading)) * kDegPerRad;
        ac.turnInPlace = ac.turnInPlaceDeg > 3;
    }
}

// A taxiing aircraft that comes to rest at the park airport looks for a stand.
void lf_parkingTest(LiveAc& ac) {
    if (ac.samples.size() < 2 || !ac.samples.back().stationary || ac.phase != FlightPhase::Taxi ||
        !g_parkFileLoaded.load()) {
        return;
    }
    if (!ac.quickTurnaround && lf_standingPhase(ac.previousPhase)) return;
    if (ac.streamEndState > 0) {
        ac.try2Park(ac.landed);
    } else if (ac.samples[1].groundSpeedKt <= 5 &&
               gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(ac.samples.back())) <= kThirtyFiveMetresNm) {
        ac.try2Park(false);
    }
}

// Metres north and east of the origin, as the curve holds its points.
void lf_toCurveMetres(const Lalo& origin, const PositionSample& s, double& northM, double& eastM) {
    double originLat = origin.latitude;
    if (originLat > 180.0) originLat -= 360.0;
    northM = (s.lat - origin.latitude) * kMetresPerDegree;
    eastM = std::cos(originLat * kRadPerDeg) * kMetresPerDegree * (s.lon - origin.longitude);
}

void lf_throttleForTakeOffRoll(LiveAc& ac) {
    if (ac.category == AcCategory::Rotorcraft) {
        ac.setThrottle(4);
        return;
    }
    const double a = ac.samples[0].groundSpeedKt;
    const double b = ac.samples[1].groundSpeedKt;
    if (a >= 25 || b >= 30) {
        ac.setThrottle(4);
    } else if (a >= 20 || b >= 25) {
        ac.setThrottle(2);
    } else if (a >= 15 || b >= 20) {
        ac.setThrottle(1);
    } else {
        ac.setThrottle(0);
    }
}

void lf_idleThrottle(LiveAc& ac) {
    ac.setThrottle(ac.category == AcCategory::Rotorcraft ? 4 : 0);
}

void lf_retractSpoilersAndLevers(LiveAc& ac) {
    ac.setSpoilers(false);
    if (ac.category != AcCategory::Light) gf_writeSpoilersThrottle(ac.objectId, 0, 0);
}

// The landing roll ends when the aircraft turns off the runway; below 90 kt it cleans up.
void lf_rollOut(LiveAc& ac) {
    if (std::fabs(gf_wrapPi(ac.simPosition.heading - ac.touchdownHeading)) * kDegPerRad >= 15) {
        gf_setFlaps(ac, 0);
        ac.landingRoll = false;
        ac.touchdownHeading = 0;
        lf_idleThrottle(ac);
        lf_retractSpoilersAndLevers(ac);
        gf_setLights(ac.objectId, LightSet{1, 1, 0, 1, 0, 1, 1});
    } else if (ac.samples[0].groundSpeedKt <= 90) {
        lf_retractSpoilersAndLevers(ac);
        gf_setFlaps(ac, 1);
    }
}

// The take-off climbs after the rotation at a tenth, a fifth and half its step over three stages of
// 100 ticks: against a climb at the full step from the rotation's end it loses these ticks.
constexpr double kSoftStartLostTicks = 220;

// The climb from the lift-off aims at the first airborne sample ahead by the time it falls due, less
// the ticks the rotation and the soft start do not climb (at least a little, never steeper than the
// profile): a climb at the steepest step ran far above samples that stay low.
double lf_liftOffStep(const LiveAc& ac) {
    const auto& samples = ac.samples;
    const auto airborne =
        std::find_if(samples.begin() + 1, samples.end(), [](const PositionSample& s) { return s.airborne; });
    const double altitude = ac.simPosition.altitudeFt;
    const double target = airborne != samples.end() ? airborne->altitudeFt : altitude;
    const std::int32_t due = airborne != samples.end() ? airborne->dueTick : samples[1].dueTick;
    const double ticks = std::max(
        static_cast<double>(due) - g_engineTick.load() - ac.rotationTicks - kSoftStartLostTicks, 25.0);
    return std::min(std::max(target - altitude, 0.1) / ticks, ac.maxVerticalStepFt);
}

// With the take-off roll under way: lift off when the samples say so (the next one is airborne, or
// they climb and no ground is left).
void lf_takeOffTest(LiveAc& ac) {
    const auto& samples = ac.samples;
    const auto later = [&](auto predicate) {
        return std::any_of(samples.begin() + 1, samples.end(), predicate);
    };
    const bool slowClimb = later([](const PositionSample& s) { return s.verticalRateFpm <= 256; });
    const bool groundLeft = later([](const PositionSample& s) { return !s.airborne; });
    if (!samples[1].airborne && slowClimb && (!ac.reachesLiftOffSpeed() || groundLeft)) return;
    ac.altStep = lf_liftOffStep(ac);
    ac.startTakeOff();
}

}  // namespace

void gf_writeSpoilersThrottle(std::uint32_t objectId, double spoilersPercent, double throttlePercent) {
    if (objectId == 0) return;
    std::array<double, 3> data{spoilersPercent, throttlePercent, throttlePercent};
    MutexLock lock(g_simConnectMutex);
    SimConnect_SetDataOnSimObject(g_simConnect.load(), kSpoilersThrottleDefinition, objectId, 0, 0,
                                  static_cast<DWORD>(sizeof(data)), data.data());
}

void LiveAc::nextPosGround() {
    try {
        switch (phase) {
            case FlightPhase::PushingBack:
                --pushbackCounter;
                if (pushbackCounter == 1) {
                    lf_startPushbackCurve(*this);
                } else if (pushbackCounter <= 0) {
                    lf_endPushback(*this);
                }
                break;
            case FlightPhase::Parked:
                lf_leaveStandOrWait(*this);
                break;
            default:
                if (samples.size() >= 2 && !samples[1].stationary) lf_shapeTaxiLeg(*this);
                lf_parkingTest(*this);
                break;
        }
        timeGroundLeg();
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("{}: {}, {}, sz:{}", "nextPosGround", e.what(), gf_aircraftText(*this),
                               samples.size()));
        throw;
    }
}

void LiveAc::buildCurve() {
    if (samples.size() < 3) return;
    PositionSample& s2 = samples[2];
    if (s2.groundSpeedKt == 0) s2.groundSpeedKt = (samples[1].groundSpeedKt + samples[0].groundSpeedKt) / 2;
    curve.origin = gf_lalo(simPosition);
    curve.t0 = 0;
    curve.t1 = 1;
    lf_toCurveMetres(curve.origin, samples[1], curve.controlNorthM, curve.controlEastM);
    lf_toCurveMetres(curve.origin, s2, curve.endNorthM, curve.endEastM);
    samples.erase(samples.begin() + 1);
}

void LiveAc::insertMidSample() {
    if (samples.size() < 2) return;
    const PositionSample& s0 = samples[0];
    const PositionSample& s1 = samples[1];
    PositionSample mid = s0;
    mid.lat = (s0.lat + s1.lat) / 2;
    mid.lon = (s0.lon + s1.lon) / 2;
    mid.altitudeFt = (s0.altitudeFt + s1.altitudeFt) / 2;
    mid.groundSpeedKt = (s0.groundSpeedKt + s1.groundSpeedKt) / 2;
    mid.dueTick = gf_roundTicks((static_cast<double>(s0.dueTick) + s1.dueTick) / 2);
    mid.airborne = mid.altitudeFt > 0;
    if (!mid.airborne) mid.altitudeFt = 0;
    mid.stationary = false;
    samples.insert(samples.begin() + 1, mid);
}

void LiveAc::splitOnSpeedChange() {
    if (samples.size() < 2) return;
    const PositionSample& s0 = samples[0];
    const PositionSample& s1 = samples[1];
    if ((s0.groundSpeedKt > 0 || s1.groundSpeedKt > 0) &&
        std::fabs(s0.groundSpeedKt - s1.groundSpeedKt) > 5 &&
        gf_distanceNm(gf_lalo(s0), gf_lalo(s1)) * kMetresPerNm >= 100) {
        insertMidSample();
    }
}

void LiveAc::timeGroundLeg() {
    if (samples.size() < 2) return;
    const std::int64_t now = g_engineTick.load();
    const PositionSample& s0 = samples[0];
    PositionSample& s1 = samples[1];
    if (s1.stationary) {
        std::int64_t due = now + std::max<std::int64_t>(s0.dueTick - now + lf_dueSpan(s0, s1), 25);
        if (streamEndState <= 0) {
            due = std::min<std::int64_t>(due, static_cast<std::int64_t>(s1.dueTick) + lateLimit);
            due = std::max<std::int64_t>(due, static_cast<std::int64_t>(s1.dueTick) - earlyLimit);
        }
        s1.dueTick = gf_tickAfter(std::max(due, now), 0);
        return;
    }
    turnStep = turnRatePerTick;
    const double legNm = gf_distanceNm(gf_lalo(s0), gf_lalo(s1));
    const std::int32_t t = std::max(gf_roundTicks(legNm * kTicksPerHour / groundSpeedKt()), 25);
    if (curve.exists() || turnInPlace) {
        const double a = turnInPlace ? turnInPlaceDeg : curveAngleDeg;
        const std::int32_t k = std::max(gf_roundTicks(a / turnStep / 100), 1);
        if (a > 0 && legNm > 0) {
            const double q = static_cast<double>(t) / k;
            if (a > 45) {
                turnStep *= std::min(q, std::min(a, 90.0) / 30);
                if (a >= 90) {
                    earlyLimit = std::max(earlyLimit, 2000);
                    lateLimit = std::max(lateLimit, 2000);
                }
            } else if (q >= 1.2) {
                const double m = std::min({q, q * 10 / a, q * 30 * kNmPerMetre / legNm});
                if (m > 0) turnStep /= m;
            } else if (q > 0) {
                turnStep /= q;
            }
            // A short leg would otherwise ask for a turn far beyond the aircraft's rate.
            turnStep = std::min(turnStep, 3 * turnRatePerTick);
        }
    }
    setNextDue(t);
}

void LiveAc::setNextDue(std::int32_t ticks) {
    if (samples.size() < 2) return;
    const std::int64_t now = g_engineTick.load();
    PositionSample& s1 = samples[1];
    std::int64_t due = now + ticks;
    if (streamEndState <= 0) {
        const std::int64_t latest = static_cast<std::int64_t>(s1.dueTick) + lateLimit;
        if (due > latest) {
            due = latest;
        } else {
            due = std::max<std::int64_t>(due, static_cast<std::int64_t>(s1.dueTick) - earlyLimit);
        }
    } else {
        // A run-out stream keeps the pace of its countdown, so that it ends when the countdown says.
        due = std::min<std::int64_t>(due, s1.dueTick);
    }
    s1.dueTick = gf_tickAfter(std::max(due, now), 0);
}

double LiveAc::groundSpeedKt() const {
    const PositionSample& s0 = samples[0];
    const PositionSample& s1 = samples[1];
    if (s0.groundSpeedKt != 0 || s1.groundSpeedKt != 0) return (s0.groundSpeedKt + s1.groundSpeedKt) / 2;
    const double span = static_cast<double>(lf_dueSpan(s0, s1));
    return std::max(gf_distanceNm(gf_lalo(s0), gf_lalo(s1)) * kTicksPerHour / span, 1.0);
}

void LiveAc::stepGround() {
    const std::int32_t n = legTicks();
    if (phase == FlightPhase::Flying || phase == FlightPhase::Parked) {
        setPhase(FlightPhase::Taxi);
    } else if (takeOffRoll) {
        lf_throttleForTakeOffRoll(*this);
    } else if (landingRoll) {
        lf_rollOut(*this);
    } else {
        lf_idleThrottle(*this);
    }
    if (!landingRoll && !takeOffRoll) relaxTimingLimits();
    if (flareStage == 0 && phase != FlightPhase::TakeOff) {
        simPosition.pitch = staticPitchRad;
        pitchStep = 0;
        simPosition.bank = 0;
        bankStep = 0;
    }
    if (curve.exists()) curveStep = 1.0 / n;
    speedKt = phase == FlightPhase::PushingBack ? -samples[1].groundSpeedKt : samples[1].groundSpeedKt;
    // A taxiing aircraft whose samples have left the ground takes off, though it was on the ground
    // when they came (born in the air just above the ground and put down by the simulator).
    if (!takeOffRoll && !landingRoll && phase == FlightPhase::Taxi && samples[1].airborne) startTakeOffRoll();
    // Below 43 kt only samples that have left the ground lift it off (a helicopter, a slow light
    // aircraft): it does not taxi on under them.
    if (takeOffRoll && phase != FlightPhase::TakeOff &&
        (samples[0].groundSpeedKt >= 43 || samples[1].airborne))
        lf_takeOffTest(*this);
}

void LiveAc::startTakeOffRoll() {
    if (quickTurnaround) gf_logError(fmt::format("towed aircraft takes-off? {}", gf_aircraftText(*this)));
    takeOffRoll = true;
    setThrottle(0);
    setSpoilers(false);
    gf_setFlaps(*this, 1);
    approaching = false;
    landed = false;
    goAroundDone = false;
    gf_setLights(objectId, LightSet{1, 1, 1, 1, 1, 1, 0});
    lateLimit = 5000;
    earlyLimit = 3000;
}

}  // namespace mrw

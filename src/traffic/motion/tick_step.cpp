// One 10 ms tick of a live aircraft's movement between two samples.

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/aircraft_records.h"
#include "traffic/model/category_tables.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/air_tables.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr double kFlarePitchRad = -0.06981317007977318;  // 4 degrees nose up

// Turns the heading one step towards h. Within half a degree nothing happens; a target closer than
// one step is taken at once, so the nose never swings across it.
void lf_turnTowards(LiveAc& ac, double h, double step) {
    const double gap = gf_wrapPi(h - ac.simPosition.heading);
    if (std::fabs(gap) * kDegPerRad <= 0.5) return;
    if (std::fabs(gap) < step) {
        ac.simPosition.heading = gf_wrap2pi(h);
        return;
    }
    const double c = ac.simPosition.heading * kDegPerRad;
    const double t = gf_wrap2pi(h) * kDegPerRad;
    const bool clockwise = (c <= 180 && c < t && t < c + 180) || (c > 180 && !(c - 180 < t && t < c));
    ac.simPosition.heading = gf_wrap2pi(ac.simPosition.heading + (clockwise ? 1 : -1) * step);
}

void lf_turnTowards(LiveAc& ac, double h) {
    lf_turnTowards(ac, h, ac.turnStep);
}

// Speed changes keep a little below the category's limits, so that rounding never passes them.
constexpr double kBelowLimit = 0.95;
constexpr double kTickSquared = kSecondsPerTick * kSecondsPerTick;

// How much the step (metres per tick) may grow, or shrink, in a tick: on the ground by the category's
// acceleration or braking, in the air by its acceleration or deceleration there.
double lf_stepChangeLimit(const LiveAc& ac, bool speedingUp) {
    const SpeedChangeLimits& limits = g_speedChangeLimits[gf_categorySlot(ac.category)];
    const double mps2 = ac.onGroundInSim ? (speedingUp ? limits.groundAccel : limits.groundBrake)
                                         : (speedingUp ? limits.airAccel : limits.airDecel);
    return kBelowLimit * mps2 * kTickSquared;
}

// The step, no more than `step`, from which braking by `brake` every tick still gets down to
// `endStep` within `leftM`: the steps v, v - b, ... down to e cover (v (v + b) - e (e + b)) / 2b.
// The root is drawn only when the step needs braking.
double lf_brakedStep(double step, double leftM, double endStep, double brake) {
    const double c = 2 * brake * std::max(leftM, 0.0) + endStep * (endStep + brake);
    if (step * (step + brake) <= c) return step;
    return (std::sqrt(brake * brake + 4 * c) - brake) / 2;
}

// The step of the tick: towards the one that reaches the leg's sample when it falls due (no faster
// than the leg's catch-up limit, slowed in time to the step to be down to there), changed by no more
// than the category may in a tick. A new aircraft takes it at once.
void lf_paceStep(LiveAc& ac) {
    const double up = lf_stepChangeLimit(ac, true);
    const double down = lf_stepChangeLimit(ac, false);
    // The step at the sample's own tick is the next leg's first, which sets out from about there.
    const std::int64_t due = ac.samples.empty() ? g_engineTick.load() : ac.samples.front().dueTick;
    const std::int64_t ticksLeft = std::max<std::int64_t>(due - g_engineTick.load() + 1, 1);
    double wanted = std::min(std::max(ac.legLeftM, 0.0) / static_cast<double>(ticksLeft), ac.legFastestStepM);
    // Braking is planned a little below the shrink allowed, so that the clamp below never cuts it.
    wanted = lf_brakedStep(wanted, ac.legLeftM, ac.legEndStepM, kBelowLimit * down);
    // Turning on the spot, it stops first.
    if (ac.turningOnSpot) wanted = 0;
    ac.turningOnSpot = false;
    ac.stepNowM = ac.stepNowM < 0 ? wanted : std::clamp(wanted, ac.stepNowM - down, ac.stepNowM + up);
    ac.airPath.stepM = ac.stepNowM;
    if (ac.curve.exists())
        ac.curveStep = ac.curve.stepForMetres(ac.curveT, ac.stepNowM * kCurveMetresPerMetre);
}

// Metres over the ground per degree of latitude, as the great-circle distance has them.
constexpr double kGroundMetresPerDegree = 60 * kMetresPerNm;

// Along the nose by the step of the tick.
void lf_moveAlongNose(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    const double degrees = ac.stepNowM / kGroundMetresPerDegree;
    pos.lat += std::cos(pos.heading) * degrees;
    pos.lon += std::sin(pos.heading) * degrees / std::cos(pos.lat * kRadPerDeg);
}

// On the ground an aircraft moves only along its nose, a pushback aside: while its way lies farther
// off the nose than this, it turns on the spot (at its full rate) instead of sliding, rolling on
// along its nose while it brakes to a stop.
constexpr double kMostOffNoseRad = 45 * kRadPerDeg;

// The way's direction is asked for only on the ground: in the air it would be thrown away.
template <class Way>
bool lf_turnsBeforeMoving(LiveAc& ac, const Way& way) {
    if (!ac.onGroundInSim || ac.phase == FlightPhase::PushingBack) return false;
    const double wayRad = way();
    if (std::fabs(gf_wrapPi(wayRad - ac.simPosition.heading)) <= kMostOffNoseRad) return false;
    lf_turnTowards(ac, wayRad, std::max(ac.turnStep, ac.turnRatePerTick));
    lf_moveAlongNose(ac);
    ac.turningOnSpot = true;
    return true;
}

// Below this speed an aircraft in the air turns flat (a hovering helicopter).
constexpr double kSlowestBankedTurnMps = 1.0;

// A coordinated turn: the bank rolls towards the bank that steers onto the target heading, and the
// heading turns at the rate that the bank gives at the speed flown, never faster than the
// aircraft's own turn rate.
void lf_turnInAir(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    ac.steerInAir();
    const double speed = gf_stepSpeedMps(ac);
    if (speed < kSlowestBankedTurnMps) {
        pos.heading = gf_wrap2pi(pos.heading + ac.headingRate);
        return;
    }
    // Slowing down, the aircraft levels its wings at once to the bank of its fastest turn.
    const double steepest = std::atan(speed * ac.turnRatePerTick / kSecondsPerTick / kGravityMps2);
    pos.bank = std::clamp(pos.bank, -steepest, steepest);
    pos.heading = gf_wrap2pi(pos.heading + kGravityMps2 * std::tan(-pos.bank) / speed * kSecondsPerTick);
}

// Along the way laid for the leg: the bank that of the turn just flown (coordinated), the heading
// rate none (a touchdown on the way carries no turn onto the ground). The nose points along the
// way's tangent, turned by the crab into the wind, which is taken out in the flare.
void lf_flyAirPath(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    AirPath& path = ac.airPath;
    Lalo at;
    double track = 0;
    double trackTurn = 0;
    path.advance(path.stepM, at, track, trackTurn);
    pos.lat = at.latitude;
    pos.lon = at.longitude;
    // The nose turns no faster than the turn rate, the way's own turn (never faster) included.
    const double rate = ac.turnRatePerTick > 0 ? ac.turnRatePerTick : kPi;
    const double crab = ac.flareStage == 0 ? path.crabRad : 0.0;
    ac.crabRad +=
        std::clamp(crab - ac.crabRad, std::min(-rate - trackTurn, 0.0), std::max(rate - trackTurn, 0.0));
    pos.heading = gf_wrap2pi(track + ac.crabRad);
    pos.bank =
        -path.coordinatedBank(path.stepM / kSecondsPerTick * trackTurn / kSecondsPerTick / kGravityMps2);
    ac.bankStep = 0;
    ac.headingRate = 0;
}

// Changes the altitude by a step, never by more than the profile's largest change per tick.
void lf_climb(LiveAc& ac, double step) {
    if (ac.maxVerticalStepFt > 0) step = std::clamp(step, -ac.maxVerticalStepFt, ac.maxVerticalStepFt);
    ac.simPosition.altitudeFt += step;
}

// As lf_climb, never past the leg's stop: a catch-up does not run on beyond its sample's altitude.
void lf_climbToStop(LiveAc& ac, double step) {
    double& altitude = ac.simPosition.altitudeFt;
    const double before = altitude;
    lf_climb(ac, step);
    if (!ac.altStopFt) return;
    const double stop = *ac.altStopFt;
    if ((before <= stop && altitude > stop) || (before >= stop && altitude < stop)) altitude = stop;
}

double lf_clampedBank(double bank) {
    return std::clamp(bank, -kPi, kPi);
}

// The parameter the curve is stepped to no further than, short of its end.
constexpr double kCurveEndT = 0.999999;

void lf_stepOnCurve(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    // Through the curve before its sample falls due, the aircraft runs on along its nose (a pushback
    // stops at its end).
    if (ac.curveT >= kCurveEndT) {
        if (ac.phase != FlightPhase::PushingBack) lf_moveAlongNose(ac);
        return;
    }
    const double t = std::clamp(ac.curveT + ac.curveStep, 0.0, kCurveEndT);
    Lalo point;
    double tangent = 0;
    if (!ac.curve.positionAt(t, point, tangent)) {
        ac.curveT = t;
        gf_logLine(fmt::format("{} error in curve at index: {:.2F}", ac.callsign, ac.curveT));
        return;
    }
    // A step too small to take a bearing of (a slow start) still moves along the curve's tangent.
    const auto way = [&] {
        const Lalo at = gf_lalo(pos);
        return gf_samePosition(point, at) ? tangent : gf_bearingRad(at, point);
    };
    const Lalo before = gf_lalo(pos);
    if (lf_turnsBeforeMoving(ac, way)) {
        // Braking along its nose, the aircraft takes the curve along: it begins where the aircraft is.
        ac.curve.origin.latitude += pos.lat - before.latitude;
        ac.curve.origin.longitude += pos.lon - before.longitude;
        return;
    }
    ac.curveT = t;
    pos.lat = point.latitude;
    pos.lon = point.longitude;
    lf_turnTowards(ac, ac.phase == FlightPhase::PushingBack ? gf_wrap2pi(tangent + kPi) : tangent);
}

// Along the straight line towards the leg's sample, by the step of the tick.
void lf_stepStraight(LiveAc& ac) {
    ac.simPosition.lat += ac.latPerM * ac.stepNowM;
    ac.simPosition.lon += ac.lonPerM * ac.stepNowM;
}

void lf_stepHorizontal(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    // Off a way the nose is the direction of travel.
    if (!ac.airPath.exists() || ac.onGroundInSim) ac.crabRad = 0;
    if (ac.curve.exists()) {
        lf_stepOnCurve(ac);
        return;
    }
    const bool moves = (ac.latStep != 0 || ac.lonStep != 0) && ac.phase != FlightPhase::PushedBack;
    if (moves && lf_turnsBeforeMoving(ac, [&] { return gf_stepTrackRad(ac); })) return;
    switch (ac.phase) {
        case FlightPhase::PushingBack:
        case FlightPhase::PushedBack:
        case FlightPhase::Taxi:
            if (ac.turnInPlace) lf_turnTowards(ac, ac.targetHeading);
            break;
        case FlightPhase::Parking:
            // Nose first onto the stand, then round to its heading.
            lf_turnTowards(ac, moves ? gf_stepTrackRad(ac) : ac.targetHeading);
            break;
        default:
            if (ac.onGroundInSim) {
                pos.heading = gf_wrap2pi(pos.heading + ac.headingRate);
            } else if (ac.airPath.exists()) {
                lf_flyAirPath(ac);
                return;
            } else {
                lf_turnInAir(ac);
            }
            break;
    }
    if (!moves) return;
    lf_stepStraight(ac);
}

// Rotation, then climb-out until the climb pitch and 800 ft above ground are reached.
void lf_stepTakeOff(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    --ac.rotationCounter;
    const std::int32_t c = ac.rotationCounter;
    if (c > 0) {
        ac.onGroundInSim = false;
        if (pos.pitch > ac.rotationPitchRad) pos.pitch += ac.pitchStep;
    } else {
        pos.bank = lf_clampedBank(pos.bank + ac.bankStep);
        if (pos.pitch > ac.climbPitchRad && ac.climbPitchTicks > 0) {
            pos.pitch += (ac.climbPitchRad - ac.rotationPitchRad) / ac.climbPitchTicks;
        }
        if (c < -300) {
            lf_climbToStop(ac, ac.altStep);
            if (pos.pitch <= ac.climbPitchRad) {
                ac.pitchStep = 0;
                if (ac.heightAboveGround >= 800) {
                    ac.setThrottle(ac.category == AcCategory::Rotorcraft ? 4 : 3);
                    ac.setPhase(FlightPhase::Flying);
                    ac.rotationCounter = 1;
                }
            }
        } else if (c == -300) {
            ac.setGear(false);
            lf_climbToStop(ac, ac.altStep);
        } else if (c <= -200) {
            lf_climbToStop(ac, ac.altStep * 0.5);
        } else if (c <= -100) {
            lf_climbToStop(ac, ac.altStep / 5);
        } else if (c < 0) {
            lf_climbToStop(ac, ac.altStep / 10);
        }
    }
    if (ac.rotationCounter < -1000) ac.rotationCounter = -1000;
}

void lf_setFrontVerticalRate(LiveAc& ac, double fpm) {
    if (!ac.samples.empty()) ac.samples.front().verticalRateFpm = fpm;
}

// The flare stages by height above the ground (CG = the static CG height).
void lf_armFlare(LiveAc& ac) {
    const double cg = ac.staticCgFt;
    switch (ac.flareStage) {
        case 0: {
            if (!ac.fieldElevation && !g_parkAirport.code.empty()) ac.fieldElevation = g_parkAirport.altitude;
            ac.heightAboveField =
                ac.fieldElevation ? ac.simPosition.altitudeFt - *ac.fieldElevation : ac.heightAboveGround;
            if (cg + 30 >= std::min(ac.heightAboveGround, ac.heightAboveField)) {
                if (ac.flareTicks > 0) ac.pitchStep = (kFlarePitchRad - ac.simPosition.pitch) / ac.flareTicks;
                ac.altStep = -0.1;
                lf_setFrontVerticalRate(ac, -601);
                ac.flareStage = 1;
            }
            break;
        }
        case 1:
            if (cg + 20 >= ac.heightAboveGround) {
                ac.fieldElevation.reset();
                ac.altStep = -0.075;
                lf_setFrontVerticalRate(ac, -450);
                ac.flareStage = 2;
            }
            break;
        case 2:
            if (cg + 10 >= ac.heightAboveGround) {
                ac.fieldElevation.reset();
                ac.setThrottle(0);
                ac.altStep = -0.05;
                lf_setFrontVerticalRate(ac, -300);
                ac.flareStage = 3;
            }
            break;
        case 3:
            if (cg + 3 >= ac.heightAboveGround) {
                ac.fieldElevation.reset();
                ac.altStep = -0.025;
                lf_setFrontVerticalRate(ac, -150);
                ac.flareStage = 4;
            }
            break;
        default:
            break;
    }
}

void lf_stepVertical(LiveAc& ac) {
    SimPosition& pos = ac.simPosition;
    if (ac.heightAboveGround <= 400 && ac.approaching && !ac.onGroundInSim) lf_armFlare(ac);
    if (ac.derotating) {
        pos.pitch += ac.pitchStep;
        // Reaching the static pitch counts as passing it.
        const bool passed =
            ac.pitchStep >= 0 ? pos.pitch >= ac.staticPitchRad : pos.pitch <= ac.staticPitchRad;
        if (passed) {
            pos.pitch = ac.staticPitchRad;
            ac.pitchStep = 0;
            pos.bank = 0;
            ac.bankStep = 0;
            ac.derotating = false;
            ac.flareStage = 0;
        }
        pos.bank += ac.bankStep;
    } else if (ac.flareStage != 0) {
        pos.bank = lf_clampedBank(pos.bank + ac.bankStep);
        pos.pitch = std::max(pos.pitch + ac.pitchStep, kFlarePitchRad);
        lf_climb(ac, ac.altStep);
    } else if (ac.onGroundInSim) {
        pos.pitch = ac.staticPitchRad;
        pos.bank = 0;
    } else {
        pos.bank += ac.bankStep;
        pos.pitch += ac.pitchStep;
        lf_climbToStop(ac, ac.altStep);
    }
}

// At a standing sample, an aircraft still moving (late, or slowed no faster than it may) does not stop
// dead: it slows as fast as it may along its nose until it rests; in the air (a helicopter) steering
// to hold its heading, which rolls its wings level.
void lf_comeToRest(LiveAc& ac) {
    ac.stepNowM = std::max(ac.stepNowM - lf_stepChangeLimit(ac, false), 0.0);
    lf_moveAlongNose(ac);
    if (ac.onGroundInSim) return;
    ac.targetHeading = ac.simPosition.heading;
    lf_turnInAir(ac);
    ac.simPosition.bank += ac.bankStep;
}

// Standing still, the aircraft does not move; hovering, a helicopter flies no turn any more and rolls
// its wings level as fast as it may.
void lf_standStill(LiveAc& ac) {
    if (ac.onGroundInSim) return;
    const double rate = maxBankRatePerTick(ac.category);
    ac.simPosition.bank -= std::clamp(ac.simPosition.bank, -rate, rate);
}

}  // namespace

void LiveAc::stepTick() {
    if (!samples.empty() && samples.front().stationary) {
        if (stepNowM > 0) {
            lf_comeToRest(*this);
        } else {
            stepNowM = 0;
            lf_standStill(*this);
        }
        return;
    }
    lf_paceStep(*this);
    lf_stepHorizontal(*this);
    legLeftM -= stepNowM;
    if (phase == FlightPhase::TakeOff) {
        lf_stepTakeOff(*this);
    } else {
        lf_stepVertical(*this);
    }
    gf_normalisePosition(simPosition.lat, simPosition.lon);
}

}  // namespace mrw

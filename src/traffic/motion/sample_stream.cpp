// The stream of a live aircraft: moving on to the next sample and taking in new ones.

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <exception>

#include "aircraft/aircraft_texts.h"
#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_internal.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/aircraft_commands.h"

namespace mrw {

namespace {

// The fastest a leg may be flown to catch up, v the larger ground speed of its samples: on the ground
// a few knots above it (a late aircraft rather makes up the time while it stands), in the air a
// quarter above it.
double lf_fastestLegSpeedKt(bool onGround, const PositionSample& s0, const PositionSample& s1) {
    const double v = std::max({s0.groundSpeedKt, s1.groundSpeedKt, 0.0});
    return onGround ? std::max(1.4 * v, v + 12.0) : 1.25 * std::max(v, 1.0);
}

// The longest way the aircraft may have to go to reach s1 in nm: the way in the air, the straight
// line, or for a curve
// twice its longer control leg (a quadratic Bezier curve never moves faster than that per parameter).
double lf_legLengthNm(const LiveAc& ac, const PositionSample& s1) {
    if (ac.airPath.exists()) return ac.airPath.lengthM() / kMetresPerNm;
    if (!ac.curve.exists()) return gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(s1));
    const double first = std::hypot(ac.curve.controlEastM, ac.curve.controlNorthM);
    const double second =
        std::hypot(ac.curve.endEastM - ac.curve.controlEastM, ac.curve.endNorthM - ac.curve.controlNorthM);
    return 2 * std::max(first, second) / kMetresPerNm;
}

// A step per tick (metres) of a speed in knots.
double lf_stepOfKt(double kt) {
    return kt * kMetresPerNm / kTicksPerHour;
}

// The step to be down to at the leg's sample: none before a stop (the stream stands next, where only
// a helicopter stands in the air, or ends while the aircraft taxies); on the ground the sample's
// speed; in the air the catch-up limit of a leg at the sample's speed, so that the next leg begins
// within its own.
double lf_legEndStepM(const LiveAc& ac) {
    const SampleStream& samples = ac.samples;
    const PositionSample& s1 = samples[1];
    const bool rolling = ac.takeOffRoll || ac.landingRoll || ac.approaching;
    const bool mayStand = !s1.airborne || ac.category == AcCategory::Rotorcraft;
    if (samples.size() >= 3 ? mayStand && samples[2].stationary : !s1.airborne && !rolling) return 0.0;
    return lf_stepOfKt(s1.airborne ? lf_fastestLegSpeedKt(false, s1, s1) : s1.groundSpeedKt);
}

// The pace of a moving leg for the tick steps: the way to go to the sample, the fastest step, the
// direction of a straight step and the step to be down to at the sample.
void lf_startLegPace(LiveAc& ac, double fastestKt) {
    const PositionSample& s1 = ac.samples[1];
    const double straightM = gf_distanceNm(gf_lalo(ac.simPosition), gf_lalo(s1)) * kMetresPerNm;
    ac.latPerM = straightM > 0 ? (s1.lat - ac.simPosition.lat) / straightM : 0.0;
    ac.lonPerM = straightM > 0 ? (s1.lon - ac.simPosition.lon) / straightM : 0.0;
    if (ac.airPath.exists()) {
        ac.legLeftM = ac.airPath.lengthM();
    } else if (ac.curve.exists()) {
        ac.legLeftM = ac.curve.lengthM() / kCurveMetresPerMetre;
    } else {
        ac.legLeftM = straightM;
    }
    // A leg that lifts off keeps to the catch-up limit of the air.
    if (s1.airborne) fastestKt = std::min(fastestKt, lf_fastestLegSpeedKt(false, ac.samples[0], s1));
    ac.legFastestStepM = lf_stepOfKt(fastestKt);
    ac.legEndStepM = lf_legEndStepM(ac);
}

// Looks back from the second-last sample towards the front (never the front itself, at most five
// samples) for the nearest one that moves; 0 when there is none.
std::size_t lf_lastMovingSample(const SampleStream& samples) {
    std::size_t looked = 0;
    for (std::size_t i = samples.size() - 2; i >= 1 && looked < 5; --i, ++looked) {
        if (!samples[i].stationary) return i;
    }
    return 0;
}

// Far above the ground: higher above the park airport (the only ground that ground samples are kept
// near) than this, and than a steep climb or descent covers between two samples.
constexpr double kFarAboveGroundFt = 500.0;
constexpr double kSteepestFpm = 2000.0;

bool lf_farAboveGround(const PositionSample& airborne, const PositionSample& ground) {
    const double groundFt = g_parkAirport.code.empty() ? 0.0 : g_parkAirport.altitude;
    const double minutes = std::abs(airborne.dueTick - ground.dueTick) / (kTicksPerHour / 60);
    return airborne.altitudeFt - groundFt > std::max(kFarAboveGroundFt, kSteepestFpm * minutes);
}

// Any record at taxi speed counts as on the ground, whatever its altitude: one such record between
// two airborne ones far above the ground is a broken speed field, not a landing. Found when the
// record after it comes; never the front, which the aircraft may already be on its way to.
bool lf_isLoneGroundGlitch(const SampleStream& samples, const PositionSample& next) {
    if (!next.airborne || samples.size() < 2) return false;
    const PositionSample& ground = samples.back();
    const PositionSample& before = samples[samples.size() - 2];
    return !ground.airborne && before.airborne && lf_farAboveGround(before, ground) &&
           lf_farAboveGround(next, ground);
}

// A touch-and-go: the aircraft rolls on its landing runway and its samples climb again.
void lf_touchAndGo(LiveAc& ac) {
    ac.phase = FlightPhase::Taxi;  // previousPhase stays
    ac.takeOffRoll = true;
    ac.setThrottle(3);
    ac.setSpoilers(true);
    gf_setFlaps(ac, 1);
    ac.approaching = false;
    ac.landed = false;
    ac.goAroundDone = false;
    gf_setLights(ac.objectId, LightSet{1, 1, 1, 1, 1, 1, 0});
    ac.lateLimit = 5000;
    ac.earlyLimit = 3000;
}

}  // namespace

void LiveAc::resetTimingLimits() {
    lateLimit = takeOffRoll ? 5000 : 3000;
    earlyLimit = 3000;
}

void LiveAc::relaxTimingLimits() {
    if (earlyLimit > 1000) earlyLimit = std::max(earlyLimit - 100, 1000);
    if (lateLimit > 1000) lateLimit = std::max(lateLimit - 100, 1000);
}

std::int32_t LiveAc::legTicks() const {
    const std::int64_t left = static_cast<std::int64_t>(samples[1].dueTick) - g_engineTick.load();
    return left >= 25 ? static_cast<std::int32_t>(left) : 25;
}

void LiveAc::nextPosMain() {
    try {
        // Bounded: a stream that keeps yielding stationary samples in the air must not hold the tick.
        const std::size_t rounds = samples.size() + 10;
        for (std::size_t round = 0; round < rounds; ++round) {
            while (samples.size() < 2) {
                if (!onStreamEnd()) {
                    removeAircraftFromSim();
                    return;
                }
            }
            if (onGroundInSim || !samples[1].stationary || category == AcCategory::Rotorcraft) {
                advanceToNextSample();
                return;
            }
            samples.erase(samples.begin() + 1);
        }
        gf_logError(fmt::format("{}: no moving sample after {} rounds, {}", "nextPosMain", rounds,
                                gf_aircraftText(*this)));
        removeAircraftFromSim();
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: {} {}, sz:{}, fs:{}, st:{}", "nextPosMain", e.what(),
                                gf_aircraftText(*this), samples.size(), gf_phaseName(phase),
                                gf_simStateName(simState)));
        throw;
    }
}

void LiveAc::advanceToNextSample() {
    curve.clear();
    curveT = 0;
    airPath.clear();
    {
        const PositionSample& s0 = samples[0];
        PositionSample& s1 = samples[1];
        if (!s1.stationary && gf_samePosition(gf_lalo(s0), gf_lalo(s1))) s1.stationary = true;
        if (!s1.stationary) targetHeading = gf_bearingRad(gf_lalo(s0), gf_lalo(s1));
    }
    if (onGroundInSim) {
        nextPosGround();
    } else {
        stepAir();
    }
    // The ground code may have cut the stream to its front: the run-out is handled when it falls due.
    if (samples.size() < 2) {
        latStep = 0;
        lonStep = 0;
        return;
    }
    PositionSample& s1 = samples[1];
    if (s1.stationary) {
        latStep = 0;
        lonStep = 0;
        if (!landingRoll && !takeOffRoll) relaxTimingLimits();
    } else {
        const std::int32_t now = g_engineTick.load();
        std::int32_t n = legTicks();
        double fastestKt = lf_fastestLegSpeedKt(onGroundInSim, samples[0], s1);
        if (!onGroundInSim) fastestKt = gf_planAirPath(*this, fastestKt);
        // Never faster than the leg's samples allow: a late limit or the 25-tick floor would jump.
        const double needed = std::ceil(lf_legLengthNm(*this, s1) * kTicksPerHour / fastestKt);
        if (needed > n) {
            n = gf_roundTicks(needed);
            s1.dueTick = gf_tickAfter(now, n);
        }
        latStep = (s1.lat - simPosition.lat) / n;
        lonStep = (s1.lon - simPosition.lon) / n;
        lf_startLegPace(*this, fastestKt);
        if (onGroundInSim) {
            stepGround();
        } else {
            stepAirborne();
        }
    }
    samples.pop_front();
}

double LiveAc::headingErrorToNext() const {
    if (samples.size() < 3) return 0.0;
    return gf_wrapPi(gf_bearingRad(gf_lalo(samples[1]), gf_lalo(samples[2])) - simPosition.heading);
}

void LiveAc::decodeExisting(PositionSample& sample) {
    try {
        if (samples.size() > 200) {
            removeAircraftFromSim();
            return;
        }
        if (holding && !samples.empty() &&
            gf_distanceNm(gf_lalo(samples.front()), gf_lalo(sample)) * kMetresPerNm >
                g_parameters().HOLDING_THRESHOLD_METERS.current.load()) {
            holding = false;
            holdStartTick = 0;
            removeAircraftFromSim();
            return;
        }
        if (lf_isLoneGroundGlitch(samples, sample)) samples.pop_back();
        if (phase == FlightPhase::Birth) {
            if (samples.empty() || !acceptGroundSample(sample)) return;
            if (sample.dueTick <= samples.back().dueTick) sample.dueTick = samples.back().dueTick + 1;
            samples.push_back(sample);
            return;
        }
        if (!checkExtendingSituations(sample)) return;
        if (!samples.empty()) {
            const PositionSample last = samples.back();
            if (!sample.airborne && last.stationary) {
                if (!sample.stationary && samples.size() >= 3) {
                    const std::size_t moving = lf_lastMovingSample(samples);
                    if (moving > 0 &&
                        (last.dueTick - samples[moving].dueTick < 1500 ||
                         gf_distanceNm(gf_lalo(samples[moving]), gf_lalo(sample)) <= 0.011879049676025918)) {
                        samples.resize(moving + 1);
                    }
                } else if (sample.stationary && samples.size() > 1 &&
                           std::all_of(samples.begin(), samples.end(),
                                       [](const PositionSample& s) { return s.stationary; })) {
                    samples.resize(1);
                }
            }
            if (last.dueTick >= sample.dueTick) sample.dueTick = last.dueTick + 1;
            if (!takeOffRoll && onGroundInSim && simState == SimState::Active) {
                if (landingRoll && last.airborne && sample.airborne) {
                    lf_touchAndGo(*this);
                } else if (phase == FlightPhase::Taxi &&
                           (sample.airborne || (sample.groundSpeedKt >= 43 && last.groundSpeedKt >= 43))) {
                    startTakeOffRoll();
                }
            }
        }
        samples.push_back(sample);
        if (samples.size() == 2 && samples[0].stationary && samples[1].stationary) {
            samples[0].dueTick = g_engineTick.load() + 1;
            samples[0].groundSpeedKt = samples[1].groundSpeedKt;
        }
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} exception {}", "decodeExisting", e.what()));
        throw;
    }
}

}  // namespace mrw

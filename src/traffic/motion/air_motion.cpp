// What a live aircraft in the air does at each sample: pace, altitude step, pitch and bank towards
// the next sample, and the configuration by altitude.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/air_tables.h"
#include "traffic/motion/motion_internal.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/aircraft_commands.h"

namespace mrw {

namespace {

constexpr double kLevelPitchRad = -0.05235987755982989;  // 3 degrees nose up
constexpr double kNearParkAirportNm = 10;
// An approach to the park airport begins no flatter than this slope down to it: an aircraft low
// and far from it (a helicopter along a beach) is not landing there.
constexpr double kFlattestApproachRad = 2 * kRadPerDeg;

bool lf_parkAirportSet() {
    return !g_parkAirport.code.empty();
}

bool lf_belowApproachSlope(const LiveAc& ac, double distanceNm) {
    const double aboveFieldFt = ac.simPosition.altitudeFt - g_parkAirport.altitude;
    return aboveFieldFt < std::tan(kFlattestApproachRad) * distanceNm * kFeetPerNm;
}

// A fixed-wing throttle index; a rotorcraft always gets 4.
std::int32_t lf_airThrottle(const LiveAc& ac, std::int32_t index) {
    return ac.category == AcCategory::Rotorcraft ? 4 : index;
}

// Descends at the rate r (fpm) to the next sample.
void lf_descendAt(LiveAc& ac, double r) {
    ac.samples[1].verticalRateFpm = r;
    ac.targetVsFpm = r;
    ac.altStep = r / 6000;
}

// Farther than this below or above both samples of a leg, the aircraft closes on them at its full
// step (samples that climbed or descended faster than it may left it behind); it stops at the
// leg's sample.
constexpr double kCatchUpBeyondFt = 100;

// The altitude step of a leg between airborne samples outside an approach.
double lf_airborneAltitudeStep(const LiveAc& ac, std::int32_t n) {
    const double altitude = ac.simPosition.altitudeFt;
    const double a0 = ac.samples[0].altitudeFt;
    const double a1 = ac.samples[1].altitudeFt;
    if (altitude < std::min(a0, a1) - kCatchUpBeyondFt) return ac.maxVerticalStepFt;
    if (altitude > std::max(a0, a1) + kCatchUpBeyondFt) return -ac.maxVerticalStepFt;
    return std::min((a1 - altitude) / n, ac.maxVerticalStepFt);
}

// The altitude step of the leg, while no flare runs.
void lf_setAltitudeStep(LiveAc& ac, std::int32_t n) {
    const PositionSample& s0 = ac.samples[0];
    const double altitude = ac.simPosition.altitudeFt;
    ac.altStopFt.reset();
    if (s0.airborne && ac.samples[1].airborne) {
        const PositionSample& s1 = ac.samples[1];
        if (ac.approaching) {
            if (s0.altitudeFt == s1.altitudeFt && ac.heightAboveGround <= 1000 &&
                s0.verticalRateFpm + s1.verticalRateFpm <= 100) {
                lf_descendAt(ac, ac.setTouchdownRate());
            } else {
                ac.altStep = (s1.altitudeFt - altitude) / n;
            }
        } else {
            ac.altStep = lf_airborneAltitudeStep(ac, n);
            ac.altStopFt = s1.altitudeFt;
        }
        // A descending or level aircraft climbs only when its samples climb (or, left far below
        // level ones, back up to them), and a climbing one never descends (above the samples, it
        // holds its height until they reach it).
        const bool belowLevel = s1.altitudeFt == s0.altitudeFt && altitude < s1.altitudeFt - kCatchUpBeyondFt;
        if (s1.altitudeFt <= s0.altitudeFt && !belowLevel) ac.altStep = std::min(ac.altStep, 0.0);
        if (s1.altitudeFt > s0.altitudeFt) ac.altStep = std::max(ac.altStep, 0.0);
    } else if (s0.airborne) {
        const std::int32_t qnh = g_qnh.load();
        if (qnh <= 1013 && lf_parkAirportSet()) {
            ac.altStep = (g_parkAirport.altitude - altitude) / n;
        } else {
            lf_descendAt(ac, qnh > 1013 ? ac.setTouchdownRate() : -601);
        }
        ac.setGear(true);
    } else if (ac.samples[1].airborne) {
        ac.setClimbStep();
    } else {
        const double rates =
            std::accumulate(ac.samples.begin(), ac.samples.end(), 0.0,
                            [](double sum, const PositionSample& s) { return sum + s.verticalRateFpm; });
        if (!ac.approaching && rates > 100) {
            bool skipped = false;
            const std::size_t lastK = std::min<std::size_t>(ac.samples.size() - 1, 10);
            for (std::size_t k = 3; k <= lastK && !skipped; ++k)
                skipped = ac.skipToAirborneSample(k);
            if (!skipped) lf_descendAt(ac, std::max(ac.samples[1].verticalRateFpm, 601.0));
        } else {
            lf_descendAt(ac, ac.setTouchdownRate());
        }
        ac.setGear(true);
    }
}

// Pitch towards the attitude of the next sample's vertical rate.
void lf_setPitchStep(LiveAc& ac, std::int32_t n) {
    const double v = ac.samples[1].verticalRateFpm;
    const double k = v < 0 ? std::max(v, -3000.0) * 0.5 : std::min(v, 2400.0);
    const double target = kLevelPitchRad - k / 600 * 2.2 * kRadPerDeg;
    const double limit = maxPitchRatePerTick(ac.category);
    ac.pitchStep = std::clamp((target - ac.simPosition.pitch) / n, -limit, limit);
}

// The direction the aircraft moves in the air: its nose less its crab into the wind.
double lf_trackRad(const LiveAc& ac) {
    return gf_wrap2pi(ac.simPosition.heading - ac.crabRad);
}

// The heading to aim for over the leg: its track over the ground, turned half way towards the next
// leg's track, so that the nose neither lags nor leads the track by more than half a turn.
double lf_legHeading(const LiveAc& ac) {
    const SampleStream& samples = ac.samples;
    const Lalo here = gf_lalo(ac.simPosition);
    if (gf_samePosition(here, gf_lalo(samples[1]))) return lf_trackRad(ac);
    const double track = gf_bearingRad(here, gf_lalo(samples[1]));
    if (samples.size() < 3 || samples[2].stationary ||
        gf_samePosition(gf_lalo(samples[1]), gf_lalo(samples[2])))
        return track;
    return gf_wrap2pi(track + gf_wrapPi(gf_bearingRad(gf_lalo(samples[1]), gf_lalo(samples[2])) - track) / 2);
}

// Never quite at the category's largest bank or turn rate on a way, so that rounding stays inside.
constexpr double kTurnMargin = 0.99;

// The fastest speed (kt) at which the aircraft flies the turns of a way at no more than its largest
// bank in a coordinated turn (v^2 = g tan(bank) / curvature) and its turn rate.
double lf_fastestOnPathKt(const LiveAc& ac, const AirPath& path) {
    const double k = path.sharpestCurvature();
    if (k == 0) return std::numeric_limits<double>::infinity();
    double mps = std::sqrt(kGravityMps2 * std::tan(maxBankRad(ac.category)) / k);
    if (ac.turnRatePerTick > 0) mps = std::min(mps, ac.turnRatePerTick / kSecondsPerTick / k);
    return kTurnMargin * mps * 3600 / kMetresPerNm;
}

// The hardest turn stays this far below the limit, so that rounding never makes it too sharp.
constexpr double kTurnBelowLimit = 0.98;
// A way is flown at no less than this share of the leg's pace (then caught up on later legs).
constexpr double kSlowestShareOfPace = 0.8;
// Halvings in the search for the nearest flyable end of a way.
constexpr int kNearestSteps = 12;

// The pace (kt) at which a way of the length reaches its end on time.
double lf_paceKt(const LiveAc& ac, double lengthM) {
    return lengthM / kMetresPerNm * kTicksPerHour / ac.legTicks();
}

// The speed (kt) a way of the length must be flyable at: the share of the pace that reaches its end
// on time (never more than fastestKt), and the speed flown now, which the aircraft sheds no faster
// than its category may.
double lf_speedToFlyKt(const LiveAc& ac, double lengthM, double fastestKt) {
    const double flownKt = std::max(ac.stepNowM, 0.0) * kTicksPerHour / kMetresPerNm;
    return std::max(kSlowestShareOfPace * std::min(lf_paceKt(ac, lengthM), fastestKt), flownKt);
}

// A way that exists and whose turns can be flown at the speed it must be flyable at.
bool lf_flyable(const LiveAc& ac, const AirPath& path, double fastestKt) {
    if (!path.exists()) return false;
    return lf_fastestOnPathKt(ac, path) >= lf_speedToFlyKt(ac, path.lengthM(), fastestKt);
}

// One arc as long as the way to the target, turning towards it as hard as the aircraft may at the
// speed it must be flyable at, and no farther round than the single arc through the target.
AirPath lf_hardestTurnTowards(const LiveAc& ac, double heading, Lalo target, double fastestKt) {
    const Lalo here = gf_lalo(ac.simPosition);
    const double lengthM = gf_distanceNm(here, target) * kMetresPerNm;
    const double mps = lf_speedToFlyKt(ac, lengthM, fastestKt) * kMetresPerNm / 3600;
    double curvature =
        kGravityMps2 * std::tan(maxBankRad(ac.category)) * kTurnMargin * kTurnMargin / (mps * mps);
    if (ac.turnRatePerTick > 0)
        curvature = std::min(curvature, kTurnMargin * ac.turnRatePerTick / kSecondsPerTick / mps);
    const double off = gf_wrapPi(gf_bearingRad(here, target) - heading);
    curvature = std::min(kTurnBelowLimit * curvature, 2 * std::fabs(off) / std::max(lengthM, 1.0));
    return AirPath::turning(here, heading, off < 0 ? -curvature : curvature, lengthM);
}

// The largest crab into the wind the nose holds off its way, so that it stays near the track.
constexpr double kLargestCrabRad = 25 * kRadPerDeg;

// Low down, the nose takes the heading of an ADS-B sample that reports its roll and true heading:
// without a way it steers to that heading; on a way it holds the sample's crab (true heading less
// track over the ground) off the way's tangent.
void lf_setHeadingAndBank(LiveAc& ac) {
    const PositionSample& s1 = ac.samples[1];
    const double below = ac.approaching ? 2000 : 1000;
    const bool trueHeading =
        s1.headingFromAdsb && s1.rollRad && s1.headingRad && ac.heightAboveGround < below;
    ac.targetHeading = trueHeading ? gf_wrap2pi(*s1.headingRad) : lf_legHeading(ac);
    if (trueHeading) {
        const double crab = gf_wrapPi(*s1.headingRad - s1.trackDeg * kRadPerDeg);
        ac.airPath.crabRad = std::clamp(crab, -kLargestCrabRad, kLargestCrabRad);
    }
    ac.steerInAir();
}

}  // namespace

double gf_planAirPath(LiveAc& ac, double fastestKt) {
    const Lalo here = gf_lalo(ac.simPosition);
    const Lalo target = gf_lalo(ac.samples[1]);
    const double heading = lf_trackRad(ac);
    const double aimed = lf_legHeading(ac);
    AirPath path = AirPath::between(here, heading, target, aimed);
    if (!lf_flyable(ac, path, fastestKt)) {
        // Too sharp to fly near the leg's pace (noisy or sparse samples): the way ends short of the
        // sample, between it and the end of the hardest turn towards it, as near to it as the turns
        // allow.
        path = lf_hardestTurnTowards(ac, heading, target, fastestKt);
        Lalo turned;
        double turnedHeading = 0;
        path.positionAt(path.lengthM(), turned, turnedHeading);
        double flyable = 0;
        double tooSharp = 1;
        for (int i = 0; i < kNearestSteps; ++i) {
            const double share = (flyable + tooSharp) / 2;
            const Lalo end{
                turned.latitude + share * (target.latitude - turned.latitude),
                turned.longitude +
                    share * gf_wrapPi((target.longitude - turned.longitude) * kRadPerDeg) * kDegPerRad};
            const AirPath tried = AirPath::between(here, heading, end,
                                                   turnedHeading + share * gf_wrapPi(aimed - turnedHeading));
            if (lf_flyable(ac, tried, fastestKt)) {
                flyable = share;
                path = tried;
            } else {
                tooSharp = share;
            }
        }
    }
    ac.airPath = path;
    return std::min(fastestKt, lf_fastestOnPathKt(ac, path));
}

void LiveAc::stepAir() {
    const PositionSample& s0 = samples[0];
    const PositionSample& s1 = samples[1];
    if (s1.stationary) {
        if (category == AcCategory::Rotorcraft) timeGroundLeg();
        return;
    }
    double v = 0;
    if (approaching && !s1.airborne) {
        v = s0.groundSpeedKt > 0 ? s0.groundSpeedKt : 100;
    } else {
        v = groundSpeedKt();
    }
    const std::int32_t t = gf_roundTicks(gf_distanceNm(gf_lalo(s0), gf_lalo(s1)) * kTicksPerHour / v);
    setNextDue(std::max(t, 25));
}

void LiveAc::stepAirborne() {
    std::int32_t n = legTicks();
    if (phase != FlightPhase::TakeOff && phase != FlightPhase::Flying) setPhase(FlightPhase::Flying);
    speedKt = samples[1].trueAirspeedKt;
    targetVsFpm = samples[1].verticalRateFpm;
    if (flareStage == 0) {
        lf_setAltitudeStep(*this, n);
        n = legTicks();  // a skip to an airborne sample retimes the leg
        if (phase != FlightPhase::TakeOff) lf_setPitchStep(*this, n);
    }
    lf_setHeadingAndBank(*this);
    if (samples[0].altitudeFt >= 10000) {
        if (!cruiseConfigured) {
            cruiseConfigured = true;
            lowConfigured = false;
            gf_setLights(objectId, LightSet{1, 1, 0, 0, 0, 0, 1});
            setThrottle(lf_airThrottle(*this, 3));
            setGear(false);
            gf_setFlaps(*this, 0);
        }
    } else {
        configureLowAltitude();
    }
}

void LiveAc::configureLowAltitude() {
    if (!lowConfigured) {
        cruiseConfigured = false;
        lowConfigured = true;
        gf_setLights(objectId, LightSet{1, 1, 1, 1, 1, 1, 1});
    }
    const bool bigJet =
        category == AcCategory::Buzjets || category == AcCategory::Large || category == AcCategory::Heavy;
    if (heightAboveGround <= (bigJet ? 2050 : 625)) {
        configureApproach();
        return;
    }
    relaxTimingLimits();
    gf_setCabinLights(objectId, 1);
    takeOffRoll = false;
    approaching = false;
    const double v = samples[0].verticalRateFpm;
    if (v <= -250 && throttleIndex == 3) {
        setThrottle(lf_airThrottle(*this, 2));
    } else if (v > 400 && throttleIndex == 4) {
        setThrottle(lf_airThrottle(*this, 3));
    }
    if (heightAboveGround >= 2400) {
        setGear(false);
        gf_setFlaps(*this, 0);
        return;
    }
    if (v <= 100) {
        if (flapsIndex == 0) {
            gf_setFlaps(*this, 1);
        } else if (flapsIndex == 1 && heightAboveGround < 2000) {
            gf_setFlaps(*this, 2);
        }
    }
}

void LiveAc::configureApproach() {
    gf_setCabinLights(objectId, 0);
    const double v = samples[0].verticalRateFpm;
    const double distanceNm = lf_parkAirportSet() ? gf_distanceNm(gf_lalo(simPosition), g_parkAirport.lalo())
                                                  : kNearParkAirportNm + 1;
    const bool nearParkAirport = distanceNm <= kNearParkAirportNm;
    if (v <= -250) {
        if (approaching || !nearParkAirport || lf_belowApproachSlope(*this, distanceNm)) return;
        setThrottle(lf_airThrottle(*this, 1));
        gf_setFlaps(*this, 3);
        setGear(true);
        g_inSimHexids.insert(static_cast<std::int32_t>(hexid));
        approaching = true;
        goAroundDone = false;
        standPosition = {};
        standHeadingRad = 0;
        standNumber = 0;
        standCargo = false;
        rotationCounter = 1;
        resetTimingLimits();
    } else if ((v > 600 || (approaching && !nearParkAirport)) && !goAroundDone) {
        relaxTimingLimits();
        setThrottle(4);
        setGear(false);
        gf_setFlaps(*this, 0);
        goAroundDone = true;
        flareStage = 0;
        approaching = false;
    }
}

double LiveAc::setTouchdownRate() {
    if (heightAboveGround <= 100) return -600;
    const double mean = (samples[0].verticalRateFpm + samples[1].verticalRateFpm) / 2;
    return std::min(mean - (g_qnh.load() - 1013.25) * 6, -601.0);
}

void LiveAc::setClimbStep() {
    const double above = samples[1].altitudeFt - simPosition.altitudeFt;
    altStep = above > 0 ? std::min(above / legTicks(), maxVerticalStepFt) : 0;
}

bool LiveAc::skipToAirborneSample(std::size_t k) {
    if (samples.size() < k || !samples[k - 1].airborne) return false;
    for (std::size_t erased = 0; erased + 2 < k && samples.size() >= 3; ++erased)
        samples.erase(samples.begin() + 1);
    const double legNm = gf_distanceNm(gf_lalo(samples[0]), gf_lalo(samples[1]));
    setNextDue(std::max(gf_roundTicks(legNm * kTicksPerHour / groundSpeedKt()), 25));
    setClimbStep();
    return true;
}

void LiveAc::steerInAir() {
    const double e = gf_wrapPi(targetHeading - simPosition.heading);
    headingRate = std::clamp(e / kTurnTicks, -turnRatePerTick, turnRatePerTick);
    setBankStep(e, kTurnTicks);
}

void LiveAc::setBankStep(double headingError, double ticks) {
    // The bank of a coordinated turn through the heading error over the ticks at the speed flown, no
    // steeper than the aircraft's turn rate allows, nor than it can roll out of before the heading
    // is reached (a roll-out from bank b at roll rate r turns the heading by g b^2 / (2 r v)).
    const double speed = gf_stepSpeedMps(*this);
    const double rate = maxBankRatePerTick(category);
    const double turn = std::clamp(headingError / std::max(ticks, 1.0), -turnRatePerTick, turnRatePerTick);
    const double rollOutLimit =
        std::sqrt(2 * rate / kSecondsPerTick * speed * std::fabs(headingError) / kGravityMps2);
    const double largest = std::min(maxBankRad(category), rollOutLimit);
    const double coordinated = std::atan(speed * turn / kSecondsPerTick / kGravityMps2);
    const double target = -std::clamp(coordinated, -largest, largest);
    bankStep = std::clamp(target - simPosition.bank, -rate, rate);
}

}  // namespace mrw

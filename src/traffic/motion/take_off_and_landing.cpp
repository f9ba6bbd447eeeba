// The take-off of a live aircraft, and the new samples it receives during an approach or a landing
// roll.

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/air_tables.h"
#include "traffic/motion/motion_math.h"
#include "traffic/sim/aircraft_commands.h"

namespace mrw {

namespace {

// The bearing from a queued sample to the new one, off the heading, in degrees (-180 to 180).
double lf_offHeadingDeg(const LiveAc& ac, const PositionSample& from, const PositionSample& to) {
    return gf_wrapPi(gf_bearingRad(gf_lalo(from), gf_lalo(to)) - ac.simPosition.heading) * kDegPerRad;
}

}  // namespace

void LiveAc::startTakeOff() {
    rotationCounter = std::max(rotationTicks, 1);
    altStopFt.reset();  // the climb aims at samples ahead, not at a leg flown before a landing
    simPosition.bank = 0;
    bankStep = 0;
    pitchStep = (rotationPitchRad - simPosition.pitch) / rotationCounter;
    if (!takeOffRoll) startTakeOffRoll();
    setPhase(FlightPhase::TakeOff);
    headingRate = 0;
    curve.clear();
    if (landingRoll) {
        landingRoll = false;
        approaching = false;
        landed = false;
        setThrottle(4);
        setSpoilers(true);
        gf_setFlaps(*this, 1);
    }
}

bool LiveAc::reachesLiftOffSpeed() const {
    if (samples.size() == 1) return true;
    const double liftOff = liftOffSpeedKt(category);
    return std::all_of(samples.begin() + 1, samples.end(),
                       [liftOff](const PositionSample& s) { return s.groundSpeedKt >= liftOff; });
}

bool LiveAc::checkNewPosDuringLanding(PositionSample& sample) {
    if (samples.empty()) {
        gf_logError(fmt::format("{} empty sz?", "checkNewPosDuringLanding"));
        return false;
    }
    if (gf_samePosition(gf_lalo(samples.back()), gf_lalo(sample))) return false;
    if (samples.size() >= 2) {
        // Queued samples behind the aircraft, seen from the new one, are dropped.
        if (std::fabs(lf_offHeadingDeg(*this, samples.back(), sample)) >= 90) samples.pop_back();
        if (samples.size() >= 2 && std::fabs(lf_offHeadingDeg(*this, samples.back(), sample)) >= 90) {
            samples.pop_back();
        }
    }
    if (samples.size() == 1) {
        const double d = std::fabs(lf_offHeadingDeg(*this, samples.front(), sample));
        if (approaching) {
            if (d >= 90) return false;
        } else if (d >= 150) {
            if (streamEndState > 0) return false;
            // The new sample lies behind the rolling aircraft: start again from where it is.
            PositionSample here = samples.front();
            here.lat = simPosition.lat;
            here.lon = simPosition.lon;
            here.dueTick = g_engineTick.load() + 1;
            samples.clear();
            samples.push_back(here);
        }
    }
    if (streamEndState > 0) {
        streamEndState = 0;
        resetTimingLimits();
    }
    const PositionSample& last = samples.back();
    if (gf_samePosition(gf_lalo(last), gf_lalo(sample))) {
        sample.stationary = true;
    } else if (sample.groundSpeedKt > last.groundSpeedKt && sample.groundSpeedKt > 40) {
        sample.groundSpeedKt = last.groundSpeedKt;
    }
    return true;
}

}  // namespace mrw

// A parked live aircraft leaves its stand: pushback, or pulling out forwards.

#include <fmt/format.h>

#include <cmath>

#include "foundation/geometry.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/sim/aircraft_commands.h"

namespace mrw {

namespace {

// A manoeuvring sample at a point: on the ground at the manoeuvre speed, everything else 0.
PositionSample lf_manoeuvreSample(Lalo point, double speedKt, std::int32_t dueTick) {
    PositionSample s;
    s.lat = point.latitude;
    s.lon = point.longitude;
    s.groundSpeedKt = speedKt;
    s.dueTick = dueTick;
    return s;
}

std::int32_t lf_manoeuvreTicks(Lalo from, Lalo to, double speedKt) {
    return gf_roundTicks(gf_distanceNm(from, to) / speedKt * kTicksPerHour);
}

void lf_leavingLights(const LiveAc& ac) {
    gf_setLights(ac.objectId, LightSet{1, 1, 0, 1, 0, 1, 0});
}

}  // namespace

void LiveAc::startPushback() {
    streamEndState = 0;
    const Stand* stand = gf_findParkStand(standNumber);
    if (stand == nullptr || samples.empty()) return;
    const double speed = manoeuvreSpeedKt;
    const Lalo here = gf_lalo(simPosition);
    const double behind = standHeadingRad + kPi;
    const Lalo p = gf_destinationPoint(here, behind, 2.5 * stand->radius * kFeetPerNm);
    const Lalo left = gf_destinationPoint(p, behind + kPi / 2, halfSpanNm * kFeetPerNm);
    const Lalo right = gf_destinationPoint(p, behind - kPi / 2, halfSpanNm * kFeetPerNm);
    const std::int32_t now = g_engineTick.load();
    const std::int32_t t = lf_manoeuvreTicks(here, p, speed);

    samples.front().groundSpeedKt = speed;
    targetHeading = simPosition.heading;
    samples.resize(1);
    samples.push_back(lf_manoeuvreSample(p, speed, gf_tickAfter(now, t)));
    insertMidSample();
    const Lalo mid = gf_lalo(samples[1]);
    pushbackOtherEnd =
        lf_manoeuvreSample(left, speed, gf_tickAfter(now, t / 2 + lf_manoeuvreTicks(mid, left, speed)));
    samples.push_back(
        lf_manoeuvreSample(right, speed, gf_tickAfter(now, t / 2 + lf_manoeuvreTicks(mid, right, speed))));

    lf_leavingLights(*this);
    setPhase(FlightPhase::PushingBack);
    pushbackCounter = 2;
}

void LiveAc::startPullOut() {
    leavingStand = false;
    streamEndState = 0;
    if (samples.empty()) return;
    const double speed = manoeuvreSpeedKt;
    const Lalo ahead = gf_destinationPoint(standPosition, standHeadingRad, 2 * halfSpanNm * kFeetPerNm);
    const std::int32_t t = lf_manoeuvreTicks(gf_lalo(simPosition), ahead, speed);
    samples.front().groundSpeedKt = speed;
    samples.resize(1);
    samples.push_back(lf_manoeuvreSample(ahead, speed, gf_tickAfter(g_engineTick.load(), t)));
    setPhase(FlightPhase::Taxi);
    targetHeading = simPosition.heading;

    lf_leavingLights(*this);
    gf_startEngines(objectId);
    setThrottle(0);
    gf_setFlaps(*this, 1);
    gf_logLine(fmt::format("{:8}: {:8} pulling out", gf_standName(standNumber), callsign));
}

}  // namespace mrw

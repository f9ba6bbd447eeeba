#include "traffic/motion/motion_world.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "config/parameter_catalogue.h"
#include "foundation/geometry.h"
#include "traffic/engine/live_spawn.h"
#include "traffic/engine/sim_event_drain.h"
#include "traffic/model/category_tables.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/sim_events.h"
#include "traffic/motion/air_tables.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"
#include "traffic/parking/static_parking.h"

namespace mrw::test {

namespace {

constexpr std::int32_t kInRangePeriod = 20;
constexpr std::size_t kMaxFailures = 40;

// Every row of the phase table: the phases each phase may change to.
bool lf_phaseChangeAllowed(FlightPhase from, FlightPhase to) {
    using P = FlightPhase;
    switch (to) {
        case P::TakeOff:
        case P::Flying:
            return true;
        case P::Taxi:
            return from == P::Birth || from == P::Flying || from == P::Parked || from == P::PushedBack ||
                   from == P::Parking;
        case P::Parked:
            return from == P::Birth || from == P::Parking;
        case P::PushingBack:
            return from == P::Parked;
        case P::PushedBack:
            return from == P::PushingBack;
        case P::Parking:
            return from == P::Taxi;
        case P::Birth:
            return false;
    }
    return false;
}

bool lf_finite(const SimPosition& p) {
    return std::isfinite(p.lat) && std::isfinite(p.lon) && std::isfinite(p.pitch) && std::isfinite(p.bank) &&
           std::isfinite(p.heading) && std::isfinite(p.altitudeFt) && std::isfinite(p.verticalSpeedFps) &&
           std::isfinite(p.trueAirspeedKt);
}

std::string lf_sampleText(const PositionSample& s) {
    return fmt::format("[{:.6f},{:.6f} alt {:.0f} gs {:.1f} vr {:.0f} due {}{}{}]", s.lat, s.lon,
                       s.altitudeFt, s.groundSpeedKt, s.verticalRateFpm, s.dueTick, s.airborne ? " air" : "",
                       s.stationary ? " stat" : "");
}

constexpr double kGravity = 9.80665;  // m/s2
constexpr double kSecondsPerTick = 0.01;

// The distance in metres from a point to a segment, on a plane around the point.
double lf_metresToSegment(Lalo p, Lalo a, Lalo b) {
    const double east = std::cos(p.latitude * kRadPerDeg) * kMetresPerDegree;
    const double ax = (a.longitude - p.longitude) * east;
    const double ay = (a.latitude - p.latitude) * kMetresPerDegree;
    const double bx = (b.longitude - p.longitude) * east;
    const double by = (b.latitude - p.latitude) * kMetresPerDegree;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(-(ax * dx + ay * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(ax + t * dx, ay + t * dy);
}

}  // namespace

double gf_watchedBound(Watched what) {
    switch (what) {
        case Watched::HeadingOffTrack:
            return 30;
        case Watched::BankOffTurn:
            return 5;
        case Watched::BankBeyondLimit:
        case Watched::GroundSpeedExcess:
        case Watched::BankKeptInHover:
            return 0;
        case Watched::AgainstHeading:
            return 90;
        case Watched::AirSpeedRatio:
            return 1.3;
        case Watched::ClimbInDescent:
        case Watched::DescentInClimb:
            return 30;
        case Watched::TouchdownMiss:
            return 300;
        case Watched::HeightOffSamples:
            return 150;
        case Watched::SpeedStepExcess:
            return 0;
    }
    return 0;
}

const char* gf_watchedName(Watched what) {
    static const char* const names[kWatchedCount] = {
        "heading off track (deg)",   "bank off the turn's (deg)", "bank beyond limit (deg)",
        "ground: off heading (deg)", "ground: speed excess (kt)", "air: speed ratio",
        "climb in a descent (ft)",   "touchdown miss (m)",        "descent in a climb (ft)",
        "hover: bank kept (deg)",    "height off samples (ft)",   "speed step excess (m/s2)"};
    return names[static_cast<std::size_t>(what)];
}

MotionWorld::MotionWorld(double groundFt) : m_groundFt(groundFt) {
    for (std::size_t i = 0; i < kWatchedCount; ++i)
        m_bounds[i] = gf_watchedBound(static_cast<Watched>(i));
}

double MotionWorld::groundAt(const SimPosition& p) const {
    // A slope rather than a cliff, so that an aircraft landing near its edge is seen on the ground.
    constexpr double kAirportGroundNm = 5;
    constexpr double kSlopeNm = 1;
    if (g_parkAirport.code.empty()) return 0.0;
    const double beyondNm = gf_distanceNm(gf_lalo(p), g_parkAirport.lalo()) - kAirportGroundNm;
    return m_groundFt * (1 - std::clamp(beyondNm / kSlopeNm, 0.0, 1.0));
}

void MotionWorld::intake(const FedSample& fed, std::int32_t tick) {
    PositionSample sample = fed.sample;
    sample.dueTick = tick + 3000;
    auto it = std::find_if(g_liveAcs.begin(), g_liveAcs.end(),
                           [&](const LiveAc& ac) { return ac.hexid == fed.hexid; });
    if (it == g_liveAcs.end()) {
        LiveAc ac = gf_activeAircraft(fed.category, sample.lat, sample.lon);
        ac.hexid = fed.hexid;
        ac.callsign = fed.callsign;
        ac.objectId = 0;
        ac.simState = SimState::Buffer;
        ac.phase = FlightPhase::Birth;
        ac.onGroundInSim = false;
        ac.simPosition = SimPosition{};
        ac.samples = {sample};
        g_liveAcs.push_back(std::move(ac));
        return;
    }
    if (it->simState == SimState::RemovingFromSim || it->simState == SimState::LiveryRespawn) return;
    it->decodeExisting(sample);
}

void MotionWorld::spawn(LiveAc& ac, std::int32_t tick) {
    auto& samples = ac.samples;
    if (samples.empty()) {
        ac.eraseNeverCreated = true;
        return;
    }
    if (samples.front().dueTick > tick) return;
    if (samples.size() == 1) {
        ac.eraseNeverCreated = true;
        return;
    }
    if (gf_mixesAirAndGround(samples)) {
        samples.pop_front();
        return;
    }
    PositionSample& first = samples.front();
    if (samples[1].stationary) {
        first.stationary = true;
        first.groundSpeedKt = 0;
        samples[1].groundSpeedKt = 0;
    } else {
        first.stationary = false;
    }
    SimPosition& pos = ac.simPosition;
    pos.lat = first.lat;
    pos.lon = first.lon;
    if (first.airborne) {
        ac.setPhase(FlightPhase::Flying);
        pos.altitudeFt = first.altitudeFt;
        const double v = first.verticalRateFpm;
        const double k = v < 0 ? std::max(v, -3000.0) * 0.5 : std::min(v, 2400.0);
        pos.pitch = -0.05235987755982989 - k / 600 * 2.2 * kRadPerDeg;
        ac.heightAboveGround = std::min(first.altitudeFt - groundAt(pos), 2500.0);
    } else {
        // A stand where the aircraft stands still; else it is born taxiing.
        const auto stand = std::find_if(g_parkStands.begin(), g_parkStands.end(), [&](const Stand& s) {
            return gf_distanceNm({s.latitude, s.longitude}, gf_lalo(first)) * kMetresPerNm < 35;
        });
        if (first.stationary && stand != g_parkStands.end() && !stand->occupied) {
            ac.setPhase(FlightPhase::Parked);
            ac.standNumber = stand->number;
            ac.standPosition = {stand->latitude, stand->longitude};
            ac.standHeadingRad = stand->heading;
            samples.resize(1);
            first.lat = stand->latitude;
            first.lon = stand->longitude;
            first.trackDeg = stand->heading * kDegPerRad;
            pos.lat = first.lat;
            pos.lon = first.lon;
            stand->occupied = true;
        } else if (samples[1].stationary) {
            samples.pop_front();
            return;
        } else {
            ac.setPhase(FlightPhase::Taxi);
        }
        pos.altitudeFt = groundAt(pos) + ac.staticCgFt;
        pos.pitch = 0.010471975511965976;
        ac.onGroundInSim = true;
        ac.heightAboveGround = 0;
    }
    double heading = 0;
    if (ac.phase == FlightPhase::Parked) {
        heading = ac.standHeadingRad;
    } else if (samples[1].stationary) {
        heading = first.trackDeg * kRadPerDeg;
    } else {
        heading = gf_bearingRad(gf_lalo(first), gf_lalo(samples[1]));
    }
    pos.heading = gf_wrap2pi(heading);
    pos.bank = first.rollRad.value_or(0.0);
    ac.headingRate = first.airborne ? 0 : pos.heading;
    gf_setLiveObjectId(ac, ac.hexid);
    ac.simState = SimState::Active;
    ++m_created;
    m_watches[ac.hexid] = Watch{};
}

void MotionWorld::reportInRange(const LiveAc& ac) const {
    const double ground = groundAt(ac.simPosition);
    const double height = ac.simPosition.altitudeFt - ground - ac.staticCgFt;
    if (height > 2500) return;
    const std::int32_t onGround = height <= 0.5 ? 1 : 0;
    gf_postSimEvent({ac.objectId, onGround, 0, SimEventType::InRange, ground, std::max(height, 0.0)});
}

void MotionWorld::fail(const LiveAc& ac, std::int32_t tick, const std::string& what) {
    if (m_failures.size() >= kMaxFailures) return;
    std::string text = fmt::format(
        "tick {} {} hexid {} phase {} ({}): {}; pos {:.6f},{:.6f} alt {:.1f} hdg {:.2f};", tick, ac.callsign,
        ac.hexid, gf_phaseName(ac.phase), gf_phaseName(ac.previousPhase), what, ac.simPosition.lat,
        ac.simPosition.lon, ac.simPosition.altitudeFt, ac.simPosition.heading * kDegPerRad);
    for (std::size_t i = 0; i < std::min<std::size_t>(ac.samples.size(), 4); ++i)
        text += " " + lf_sampleText(ac.samples[i]);
    m_failures.push_back(text);
}

void MotionWorld::note(const LiveAc& ac, std::int32_t tick, Watched what, double value,
                       const std::string& detail) {
    WorstCase& worst = m_worst[static_cast<std::size_t>(what)];
    if (value > bound(what) + 1e-9) {
        ++worst.ticksBeyond;
        fail(ac, tick, fmt::format("{} {:.3f} ({})", gf_watchedName(what), value, detail));
    }
    if (value <= worst.value) return;
    worst = WorstCase{value, ac.callsign, tick, detail, worst.ticksBeyond};
}

std::string MotionWorld::worstCasesText() const {
    const Fidelity f = fidelity();
    std::string text = fmt::format(
        "{} samples at their due ticks: aircraft off the track median {:.1f} m, {:.1f} % within 100 m; "
        "from the sample median {:.1f} m, {:.1f} % within 100 m\n"
        "{} landings, {} where the samples never touch the ground\n",
        f.samples, f.medianOffTrackM, 100 * f.shareOffTrackWithin100M, f.medianFromSampleM,
        100 * f.shareFromSampleWithin100M, m_landings, m_landingsWithoutSampleTouchdown);
    for (std::size_t i = 0; i < kWatchedCount; ++i) {
        const WorstCase& w = m_worst[i];
        text += fmt::format("{:28} {:9.2f}  {:8} tick {:6}  {} ({} ticks beyond the bound)\n",
                            gf_watchedName(static_cast<Watched>(i)), w.value, w.callsign, w.tick, w.detail,
                            w.ticksBeyond);
    }
    return text;
}

// A touchdown is measured against the legs on which the samples touch down; one whose samples never
// reach the ground (a helicopter low over the flat ground of this world) is only counted.
void MotionWorld::noteTouchdown(const LiveAc& ac, std::int32_t tick) {
    ++m_landings;
    const auto found = m_sampleTouchdowns.find(ac.hexid);
    if (found == m_sampleTouchdowns.end()) {
        ++m_landingsWithoutSampleTouchdown;
        return;
    }
    double nearest = 1e9;
    for (const Segment& segment : found->second)
        nearest =
            std::min(nearest, lf_metresToSegment(gf_lalo(ac.simPosition), segment.first, segment.second));
    note(ac, tick, Watched::TouchdownMiss, nearest, "from the samples' touchdown");
}

// The speed changes over the last ticks by no more than the category's limits allow over them: on the
// ground (before or after a tick) its ground acceleration or braking, else its acceleration or
// deceleration in the air. A pushback reverses at its ends (a pushed-back aircraft stands until it
// taxies), and the creation has no speed before it: the ticks are counted from after them.
void MotionWorld::noteSpeedStep(const LiveAc& ac, Watch& w, std::int32_t tick, double speedMps,
                                bool onGround) {
    if (ac.phase == FlightPhase::PushingBack || ac.phase == FlightPhase::PushedBack) {
        w.speeds = 0;
        return;
    }
    const SpeedChangeLimits& limits = g_speedChangeLimits[gf_categorySlot(ac.category)];
    const std::size_t slot = w.speeds % kSpeedWindowTicks;
    const double before = w.speedMps[slot];  // kSpeedWindowTicks ago, once as many are known
    w.speedMps[slot] = speedMps;
    w.accelLimit[slot] = (onGround ? limits.groundAccel : limits.airAccel) * kSecondsPerTick;
    w.decelLimit[slot] = (onGround ? limits.groundBrake : limits.airDecel) * kSecondsPerTick;
    ++w.speeds;
    if (w.speeds <= kSpeedWindowTicks) return;
    const double change = speedMps - before;
    const auto& limit = change >= 0 ? w.accelLimit : w.decelLimit;
    double allowed = 0;
    for (const double l : limit)
        allowed += l;
    const double windowSeconds = kSpeedWindowTicks * kSecondsPerTick;
    note(ac, tick, Watched::SpeedStepExcess, (std::fabs(change) - allowed) / windowSeconds,
         fmt::format("{:.2f} to {:.2f} m/s in {} ticks{}", before, speedMps, kSpeedWindowTicks,
                     onGround ? " on the ground" : ""));
}

// The bounds a person watching would accept, after the tick that moved the aircraft from w.before.
void MotionWorld::watch(const LiveAc& ac, Watch& w, std::int32_t tick, bool wasOnGround) {
    const SimPosition& p = ac.simPosition;
    const double movedNm = gf_distanceNm(gf_lalo(w.before), gf_lalo(p));
    const double speedKt = movedNm * kTicksPerHour;
    const double v = w.legSpeedKt;
    const double height = p.altitudeFt - groundAt(p) - ac.staticCgFt;
    const bool airborne = !wasOnGround && !ac.onGroundInSim;
    const double track = movedNm > 0 ? gf_bearingRad(gf_lalo(w.before), gf_lalo(p)) : p.heading;
    const double offTrackDeg = std::fabs(gf_wrapPi(track - p.heading)) * kDegPerRad;
    // Samples that slow faster than the category may leave it faster than they are while it slows
    // as fast as it may (a tenth below its limit, which the motion keeps below).
    const SpeedChangeLimits& limits = g_speedChangeLimits[gf_categorySlot(ac.category)];
    const double slowestDecel = 0.9 * (airborne ? limits.airDecel : limits.groundBrake) * kSecondsPerTick;
    const double speedBefore = w.speeds > 0 ? w.speedMps[(w.speeds - 1) % kSpeedWindowTicks] : -1.0;
    const bool slowingAtLimit = speedBefore - movedNm * kMetresPerNm / kSecondsPerTick >= slowestDecel;
    if (airborne) {
        if (speedKt > 60)
            note(ac, tick, Watched::HeadingOffTrack, offTrackDeg, fmt::format("{:.0f} kt", speedKt));
        // The turn flown is that of the direction of flight: a crab into the wind changing yaws the
        // nose without turning.
        const double turn =
            gf_wrapPi((p.heading - ac.crabRad) - (w.before.heading - w.crabBefore)) / kSecondsPerTick;
        if (movedNm > 0) {
            const double metresPerSecond = movedNm * kMetresPerNm / kSecondsPerTick;
            const double coordinated = -std::atan(metresPerSecond * turn / kGravity);
            note(ac, tick, Watched::BankOffTurn, std::fabs(p.bank - coordinated) * kDegPerRad,
                 fmt::format("bank {:.1f}, turn {:.2f} deg/s at {:.0f} kt", p.bank * kDegPerRad,
                             turn * kDegPerRad, speedKt));
        } else {
            // Hovering, no turn is flown: the wings roll level as fast as the category may.
            const double levelled = std::max(std::fabs(w.before.bank) - maxBankRatePerTick(ac.category), 0.0);
            note(ac, tick, Watched::BankKeptInHover, (std::fabs(p.bank) - levelled) * kDegPerRad,
                 fmt::format("bank {:.2f}, before {:.2f}", p.bank * kDegPerRad, w.before.bank * kDegPerRad));
        }
        note(ac, tick, Watched::BankBeyondLimit, (std::fabs(p.bank) - maxBankRad(ac.category)) * kDegPerRad,
             fmt::format("bank {:.1f}", p.bank * kDegPerRad));
        note(ac, tick, Watched::AirSpeedRatio, slowingAtLimit ? 0.0 : speedKt / std::max(v, 1.0),
             fmt::format("{:.0f} kt against {:.0f} kt", speedKt, v));
    } else if (wasOnGround && ac.onGroundInSim && ac.phase != FlightPhase::PushingBack) {
        if (movedNm * kMetresPerNm > 1e-4)
            note(ac, tick, Watched::AgainstHeading, offTrackDeg, fmt::format("{:.1f} kt", speedKt));
        note(ac, tick, Watched::GroundSpeedExcess, slowingAtLimit ? 0.0 : speedKt - std::max(1.5 * v, v + 15),
             fmt::format("{:.0f} kt against {:.0f} kt", speedKt, v));
    }
    if (!airborne || height >= 3000 || w.samplesClimb || w.lowestFt == -1e9) {
        w.lowestFt = p.altitudeFt;
    } else {
        w.lowestFt = std::min(w.lowestFt, p.altitudeFt);
        note(ac, tick, Watched::ClimbInDescent, p.altitudeFt - w.lowestFt,
             fmt::format("at {:.0f} ft above the ground", height));
    }
    if (!airborne || !w.samplesClimb || w.highestFt == -1e9) {
        w.highestFt = p.altitudeFt;
    } else {
        w.highestFt = std::max(w.highestFt, p.altitudeFt);
        note(ac, tick, Watched::DescentInClimb, w.highestFt - p.altitudeFt,
             fmt::format("at {:.0f} ft above the ground", height));
    }
    // Outside a touchdown the height keeps near the leg's samples: between them, give or take the bound;
    // an aircraft left on the ground under airborne samples is below them too.
    const bool touchdown =
        ac.approaching || ac.flareStage != 0 || ac.landingRoll || (w.legAirborne[0] && !w.legAirborne[1]);
    if (w.legKnown && !touchdown) {
        const auto sampleFt = [&](std::size_t i) {
            return w.legAirborne[i] ? w.legAltitudeFt[i] : groundAt(p);
        };
        const double highFt = std::max(sampleFt(0), sampleFt(1));
        const double lowFt = std::min(sampleFt(0), sampleFt(1));
        // Samples that climb or descend faster than the profile allows leave it behind: away from them,
        // it closes at its full step.
        const double above = p.altitudeFt - highFt;
        // Lifting off (the rotation and the climb's soft start) it may lag a steep climb, as a
        // touchdown may lag a descent; it never climbs away from the samples.
        const bool liftingOff = ac.phase == FlightPhase::TakeOff && ac.rotationCounter > -300;
        const double below = liftingOff ? 0.0 : lowFt - p.altitudeFt;
        const double closed = (above > 0 ? -1 : 1) * (p.altitudeFt - w.before.altitudeFt);
        const bool closing = ac.maxVerticalStepFt > 0 && closed >= ac.maxVerticalStepFt - 1e-9;
        note(ac, tick, Watched::HeightOffSamples, closing ? 0.0 : std::max(above, below),
             fmt::format("at {:.0f} ft, samples {:.0f} and {:.0f} ft", p.altitudeFt, sampleFt(0),
                         sampleFt(1)));
    }
    if (!w.onGroundSeen && ac.onGroundInSim && ac.phase == FlightPhase::Flying) noteTouchdown(ac, tick);
    w.onGroundSeen = ac.onGroundInSim;
    noteSpeedStep(ac, w, tick, movedNm * kMetresPerNm / kSecondsPerTick, wasOnGround || ac.onGroundInSim);
}

void MotionWorld::check(LiveAc& ac, Watch& w, std::int32_t tick, bool wasOnGround) {
    const SimPosition& p = ac.simPosition;
    if (w.phase != ac.phase) {
        if (!lf_phaseChangeAllowed(w.phase, ac.phase)) {
            fail(ac, tick,
                 fmt::format("phase change {} -> {}", gf_phaseName(w.phase), gf_phaseName(ac.phase)));
        }
        ++m_phasesSeen[ac.phase];
        w.phase = ac.phase;
    }
    if (ac.streamEndState < -1 || ac.streamEndState > 10)
        fail(ac, tick, fmt::format("streamEndState {}", ac.streamEndState));
    if (ac.samples.size() > 201) fail(ac, tick, fmt::format("{} samples", ac.samples.size()));
    for (const PositionSample& s : ac.samples) {
        if (!(s.groundSpeedKt >= 0)) fail(ac, tick, "sample ground speed below 0");
    }
    if (ac.simState != SimState::Active) return;
    if (w.firstUpdate) {
        w.firstUpdate = false;
        return;
    }
    if (!lf_finite(p)) fail(ac, tick, "a value that is not finite");
    m_lowestHeightFt = std::min(m_lowestHeightFt, p.altitudeFt - groundAt(p) - ac.staticCgFt);
    if (!(std::fabs(p.lat) <= 90 && std::fabs(p.lon) <= 180)) fail(ac, tick, "position off the globe");
    if (!(p.heading >= 0 && p.heading <= 2 * kPi)) fail(ac, tick, "heading outside [0, 2 pi]");
    const double movedNm = gf_distanceNm(gf_lalo(w.before), gf_lalo(p));
    const double v = w.legSpeedKt;
    const double allowedNm = std::max(3 * v, v + 100) / kTicksPerHour;
    if (movedNm > allowedNm * (1 + 1e-9) + 1e-12) {
        fail(ac, tick,
             fmt::format("moved {:.2f} m, allowed {:.2f} m (v {:.1f} kt)", movedNm * kMetresPerNm,
                         allowedNm * kMetresPerNm, v));
    }
    const double turned = std::fabs(gf_wrapPi(p.heading - w.before.heading));
    const double turnLimit = (wasOnGround ? 3 : 1) * ac.turnRatePerTick;
    if (turned > turnLimit + 1e-12) {
        fail(ac, tick,
             fmt::format("turned {:.4f} deg, allowed {:.4f}", turned * kDegPerRad, turnLimit * kDegPerRad));
    }
    const double climbed = std::fabs(p.altitudeFt - w.before.altitudeFt);
    if (climbed > ac.maxVerticalStepFt + 1e-9)
        fail(ac, tick, fmt::format("altitude changed {:.3f} ft", climbed));
    if (p.trueAirspeedKt < 0 && ac.phase != FlightPhase::PushingBack) fail(ac, tick, "negative speed sent");
    const double height = p.altitudeFt - groundAt(p) - ac.staticCgFt;
    if (!ac.onGroundInSim) {
        if (height < -25 * ac.maxVerticalStepFt)
            fail(ac, tick, fmt::format("{:.1f} ft below the ground", -height));
        w.contactTicks = height <= 0.5 && ac.phase != FlightPhase::TakeOff ? w.contactTicks + 1 : 0;
        if (w.contactTicks > 25) fail(ac, tick, "touching the ground for 25 ticks but not on the ground");
    } else {
        w.contactTicks = 0;
    }
    if (ac.streamEndState == 0) {
        w.runOutTick = -1;
    } else if (w.runOutTick < 0) {
        w.runOutTick = tick;
        w.runOutOnGround = ac.onGroundInSim;
    } else if (w.runOutOnGround && !ac.onGroundInSim) {
        // Its take-off roll ran out and it lifted off: from now on the bound of the air counts.
        w.runOutTick = tick;
        w.runOutOnGround = false;
    }
    watch(ac, w, tick, wasOnGround);
    if (ac.holding && ac.streamEndState != 0) {
        const std::int32_t held = tick - ac.holdStartTick;
        if (held > (g_parameters().MAX_HOLDING_MINUTES.current.load() + 1) * 6000) {
            fail(ac, tick, fmt::format("still holding after {} ticks", held));
        }
    } else if (w.runOutTick >= 0 && ac.phase != FlightPhase::Parked) {
        // In the air eight extrapolated legs of 8 s, each up to a quarter longer where its way turns.
        const std::int32_t limit = w.runOutOnGround ? 3000 : 8000;
        if (tick - w.runOutTick > limit) {
            fail(ac, tick, fmt::format("still here {} ticks after its stream ended", tick - w.runOutTick));
        }
    }
}

namespace {

// The median and the share within 100 m of distances; both 0 when there are none.
std::pair<double, double> lf_medianAndShareWithin100(std::vector<double> metres) {
    if (metres.empty()) return {0.0, 0.0};
    std::sort(metres.begin(), metres.end());
    const auto within = std::upper_bound(metres.begin(), metres.end(), 100.0) - metres.begin();
    return {metres[metres.size() / 2], static_cast<double>(within) / static_cast<double>(metres.size())};
}

}  // namespace

Fidelity MotionWorld::fidelity() const {
    Fidelity result;
    result.samples = m_offTrackM.size();
    std::tie(result.medianOffTrackM, result.shareOffTrackWithin100M) =
        lf_medianAndShareWithin100(m_offTrackM);
    std::tie(result.medianFromSampleM, result.shareFromSampleWithin100M) =
        lf_medianAndShareWithin100(m_fromSampleM);
    return result;
}

void MotionWorld::measureDueSamples(std::int32_t tick) {
    for (; m_nextDue < m_dueSamples.size() && m_dueSamples[m_nextDue].tick <= tick; ++m_nextDue) {
        const DueSample& due = m_dueSamples[m_nextDue];
        const auto ac = std::find_if(g_liveAcs.begin(), g_liveAcs.end(), [&due](const LiveAc& a) {
            return a.hexid == due.hexid && a.simState == SimState::Active;
        });
        if (ac == g_liveAcs.end()) continue;
        const Lalo at = gf_lalo(ac->simPosition);
        m_fromSampleM.push_back(gf_distanceNm(at, due.position) * kMetresPerNm);
        const std::vector<Lalo>& track = m_tracks[due.hexid];
        double offTrack = gf_distanceNm(at, track.front()) * kMetresPerNm;
        for (std::size_t i = 1; i < track.size(); ++i)
            offTrack = std::min(offTrack, lf_metresToSegment(at, track[i - 1], track[i]));
        m_offTrackM.push_back(offTrack);
    }
}

void MotionWorld::run(std::vector<FedSample> feed, std::int32_t extraTicks) {
    std::stable_sort(feed.begin(), feed.end(),
                     [](const FedSample& a, const FedSample& b) { return a.tick < b.tick; });
    if (feed.empty()) return;
    std::map<std::uint32_t, const FedSample*> lastFed;
    for (const FedSample& fed : feed) {
        const FedSample*& last = lastFed[fed.hexid];
        if (last != nullptr && last->sample.airborne && !fed.sample.airborne)
            m_sampleTouchdowns[fed.hexid].emplace_back(gf_lalo(last->sample), gf_lalo(fed.sample));
        last = &fed;
        m_dueSamples.push_back({fed.tick + 3000, fed.hexid, gf_lalo(fed.sample)});
        m_tracks[fed.hexid].push_back(gf_lalo(fed.sample));
    }
    const std::int32_t start = feed.front().tick;
    const std::int32_t end = feed.back().tick + 3000 + extraTicks;
    std::size_t next = 0;
    for (std::int32_t tick = start; tick <= end; ++tick) {
        g_engineTick = tick;
        for (; next < feed.size() && feed[next].tick == tick; ++next)
            intake(feed[next], tick);
        // The simulator's reports come first in a tick, as the engine drains its events first.
        if (tick % kInRangePeriod == 0) {
            for (const LiveAc& ac : g_liveAcs) {
                if (ac.simState == SimState::Active) reportInRange(ac);
            }
            lf_processSimEvents();
        }
        for (LiveAc& ac : g_liveAcs) {
            if (ac.simState == SimState::Buffer) {
                spawn(ac, tick);
                continue;
            }
            if (ac.simState != SimState::Active) continue;
            Watch& w = m_watches[ac.hexid];
            w.before = ac.simPosition;
            w.crabBefore = ac.crabRad;
            const bool wasOnGround = ac.onGroundInSim;
            if (ac.samples.empty()) {
                ac.removeAircraftFromSim();
            } else if (ac.samples.front().dueTick <= tick) {
                const PositionSample s0 = ac.samples.front();
                gf_updateActive(ac);
                const PositionSample* s1 = ac.samples.empty() ? nullptr : &ac.samples.front();
                w.legSpeedKt = std::max(s0.groundSpeedKt, s1 != nullptr ? s1->groundSpeedKt : 0.0);
                w.samplesClimb = s1 != nullptr && s1->altitudeFt > s0.altitudeFt;
                w.legKnown = s1 != nullptr;
                if (s1 != nullptr) {
                    w.legAltitudeFt = {s0.altitudeFt, s1->altitudeFt};
                    w.legAirborne = {s0.airborne, s1->airborne};
                }
            } else {
                gf_updateActive(ac);
            }
            check(ac, w, tick, wasOnGround);
        }
        measureDueSamples(tick);
        g_removeQueue.clear();
        const auto gone = std::remove_if(g_liveAcs.begin(), g_liveAcs.end(), [this](const LiveAc& ac) {
            const bool leaves = ac.simState == SimState::RemovingFromSim;
            if (leaves) ++m_removed;
            return leaves || ac.eraseNeverCreated || ac.eraseWithdrawn;
        });
        g_liveAcs.erase(gone, g_liveAcs.end());
        if (next >= feed.size() && g_liveAcs.empty()) break;
    }
    for (const LiveAc& ac : g_liveAcs)
        fail(ac, end, fmt::format("still here, {}", gf_simStateName(ac.simState)));
}

}  // namespace mrw::test

#include "traffic/parking/removal_rules.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <fmt/format.h>

#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

constexpr double kSamePositionDegrees = 1e-8;
constexpr double kUserLiveMargin = 1.15;
constexpr double kStaticMargin = 1.1;
constexpr double kLowAboveGroundFt = 500.0;
constexpr double kLineDistanceNm = 1.0;
constexpr double kLineHalfWidthFt = 50.0;
constexpr double kFeetPerNm = 6076.11549;
constexpr double kPi = std::numbers::pi;

bool lf_isActive(const StaticAc& ac) {
    return ac.simState == SimState::Active;
}

Lalo lf_userPosition() {
    return {g_userAcData.latitude, g_userAcData.longitude};
}

std::string lf_withoutLast(const std::string& text) {
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

// One of the two use callsigns of the static aircraft is the text (empty texts never match).
bool lf_hasUseCallsign(const StaticAc& ac, const std::string& callsign) {
    return !callsign.empty() && (ac.optionCallsign == callsign || ac.optionCallsign2 == callsign);
}

bool lf_isDuplicate(const AircraftIdentity& live, const StaticAc& ac, bool ghost, const std::string& stem) {
    if (!live.registration.empty() && live.registration == ac.registration) return true;
    if (lf_hasUseCallsign(ac, live.callsign)) return true;
    if (lf_hasUseCallsign(ac, live.optionCallsign2)) return true;
    return ghost && lf_hasUseCallsign(ac, stem);
}

// The aircraft lies within 50 ft of the line through the user along the user's heading.
bool lf_onUserLine(const Lalo& user, double userHeadingRad, const Lalo& aircraft, double distanceNm) {
    double angle = gf_bearingRad(user, aircraft) - userHeadingRad;
    if (angle > kPi)
        angle -= 2.0 * kPi;
    else if (angle < -kPi)
        angle += 2.0 * kPi;
    return std::sin(std::abs(angle)) * distanceNm * kFeetPerNm <= kLineHalfWidthFt;
}

}  // namespace

void lf_removeGhost(std::string_view callsign) {
    const std::string ghost = std::string(callsign) + "_";
    const auto found = std::find_if(g_liveAcs.begin(), g_liveAcs.end(), [&ghost](const LiveAc& ac) {
        return ac.callsign == ghost && ac.simState != SimState::RemovingFromSim;
    });
    if (found == g_liveAcs.end()) return;
    if (found->phase == FlightPhase::Parked)
        gf_logLine(fmt::format("{:8}: {:8} is a ghost and will be removed, continue with {}",
                               gf_standName(found->standNumber), ghost, callsign));
    else
        gf_logLine(
            fmt::format("          {:8} is a ghost and will be removed, continue with {}", ghost, callsign));
    g_removedGhosts.push_back(ghost);
    found->removeAircraftFromSim();
}

bool lf_isGhostOfLive(std::string_view callsign) {
    if (!callsign.empty()) callsign.remove_suffix(1);
    return std::any_of(g_liveAcs.begin(), g_liveAcs.end(), [callsign](const LiveAc& ac) {
        return ac.simState != SimState::RemovingFromSim && ac.callsign == callsign;
    });
}

void lf_removeStaticDuplicate(const AircraftIdentity& live) {
    if (live.callsign.empty()) return;
    const bool ghost = live.callsign.back() == '_';
    const std::string stem = ghost ? lf_withoutLast(live.callsign) : live.callsign;
    for (StaticAc& ac : g_staticAcs) {
        if (lf_isActive(ac) && lf_isDuplicate(live, ac, ghost, stem)) {
            ac.removeAircraftFromSim();
            return;
        }
    }
}

void lf_removeAllStatics() {
    for (StaticAc& ac : g_staticAcs) {
        if (ac.simState == SimState::Active) {
            ac.removeAircraftFromSim();
        } else if (ac.simState == SimState::Adding2Sim && !ac.removeWhenCreated) {
            if (gf_withdrawCreateRequest(g_staticCreateQueue, ac.callsign))
                ac.eraseWithdrawn = true;
            else
                ac.removeWhenCreated = true;
        }
    }
    std::erase_if(g_staticAcs, [](const StaticAc& ac) { return ac.eraseWithdrawn; });
}

void lf_clearUserStand(const std::string& standName) {
    if (standName.empty()) return;
    const auto stand = std::find_if(g_parkStands.begin(), g_parkStands.end(),
                                    [&standName](const Stand& s) { return s.id == standName; });
    if (stand == g_parkStands.end() || stand->number == 0) return;
    const std::int32_t number = stand->number;
    for (StaticAc& ac : g_staticAcs) {
        if (lf_isActive(ac) && ac.standNumber == number) {
            ac.removeAircraftFromSim();
            return;
        }
    }
    for (LiveAc& ac : g_liveAcs) {
        if (lf_isActive(ac) && ac.phase == FlightPhase::Parked && ac.standNumber == number) {
            ac.removeAircraftFromSim();
            return;
        }
    }
}

void lf_clearStaticsInLivePaths() {
    if (g_staticAcs.empty()) return;
    for (LiveAc& ac : g_liveAcs) {
        if (!lf_isActive(ac) || !ac.onGroundInSim ||
            (ac.phase != FlightPhase::Taxi && ac.phase != FlightPhase::Parking))
            continue;
        if (std::abs(ac.simPosition.lat - ac.clearCheckPosition.latitude) < kSamePositionDegrees &&
            std::abs(ac.simPosition.lon - ac.clearCheckPosition.longitude) < kSamePositionDegrees)
            continue;
        ac.removeStaticInWay();
    }
}

void lf_removeStaticTwins() {
    if (g_staticAcs.empty()) return;
    for (const LiveAc& live : g_liveAcs) {
        if (!lf_isActive(live) || !live.onGroundInSim) continue;
        for (StaticAc& ac : g_staticAcs) {
            if (!lf_isActive(ac)) continue;
            const bool sameRegistration = !live.registration.empty() && live.registration == ac.registration;
            // A live aircraft without callsign is no twin of a static made without one ("*").
            const bool sameCallsign = !live.callsign.empty() && ac.callsign == live.callsign + "*";
            if (sameRegistration || sameCallsign) {
                ac.removeAircraftFromSim();
                return;
            }
        }
    }
}

void lf_removeLiveInUserPath() {
    const Lalo user = lf_userPosition();
    const double aboveGround = g_userAcData.altitudeAboveGroundFt;
    const bool low = aboveGround <= kLowAboveGroundFt;
    for (LiveAc& ac : g_liveAcs) {
        if (!lf_isActive(ac)) continue;
        if (low && ac.onGroundInSim) {
            const Lalo position{ac.simPosition.lat, ac.simPosition.lon};
            const double distance = gf_distanceNm(user, position);
            if (distance <= kLineDistanceNm && aboveGround < kLowAboveGroundFt &&
                lf_onUserLine(user, g_userAcData.heading, position, distance)) {
                ac.removeAircraftFromSim();
                return;
            }
        }
        if (ac.removeIfInUserPath(0)) return;
    }
}

void lf_removeStaticsNearUser() {
    const Lalo user = lf_userPosition();
    const double userHalfSpan = g_userHalfSpanNm.load();
    for (LiveAc& ac : g_liveAcs) {
        if (!ac.onGroundInSim || !lf_isActive(ac)) continue;
        if (gf_distanceNm(user, {ac.simPosition.lat, ac.simPosition.lon}) <=
            (userHalfSpan + ac.halfSpanNm) * kUserLiveMargin) {
            ac.removeAircraftFromSim();
            return;
        }
    }
    if (std::abs(user.latitude - g_staticsCheckPosition.latitude) < kSamePositionDegrees &&
        std::abs(user.longitude - g_staticsCheckPosition.longitude) < kSamePositionDegrees)
        return;
    g_staticsCheckPosition = user;
    for (StaticAc& ac : g_staticAcs) {
        if (lf_isActive(ac) && gf_distanceNm(user, ac.standPosition) <=
                                   ac.halfSpanNm * kStaticMargin + userHalfSpan * kStaticMargin) {
            ac.removeAircraftFromSim();
            return;
        }
    }
}

}  // namespace mrw

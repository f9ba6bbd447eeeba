#include "traffic/parking/removal_rules.h"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "traffic/engine/aircraft_removal.h"
#include "traffic/engine/engine_containers.h"
#include "traffic/engine/stand_use_learning.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/user_aircraft_data.h"

namespace mrw {

namespace {

constexpr double kSamePositionDegrees = 1e-8;
constexpr double kUserLiveMargin = 1.15;
constexpr double kStaticMargin = 1.1;

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

void lf_removeStaticTwins() {
    if (g_staticAcs.empty()) return;
    for (const LiveAc& live : g_liveAcs) {
        if (!lf_isActive(live) || !live.onGroundInSim) continue;
        for (StaticAc& ac : g_staticAcs) {
            if (!lf_isActive(ac)) continue;
            const bool sameRegistration = !live.registration.empty() && live.registration == ac.registration;
            if (sameRegistration || ac.callsign == live.callsign + "*") {
                ac.removeAircraftFromSim();
                return;
            }
        }
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

#include "traffic/engine/window_requests.h"

#include <algorithm>
#include <atomic>

#include "traffic/engine/engine_limits.h"
#include "traffic/model/engine_containers.h"
#include "traffic/sim/aircraft_commands.h"

namespace mrw {

namespace {

constexpr std::int32_t kNone = -1;

std::atomic<std::int32_t> g_navLightsRequest{kNone};  // 0 off, 1 on
std::atomic<std::int32_t> g_liveLimitRequest{kNone};

void lf_setNavLights(bool on) {
    const std::uint32_t value = on ? 1 : 0;
    for (const StaticAc& ac : g_staticAcs) {
        if (ac.simState == SimState::Active) gf_setNavLights(ac.objectId, value);
    }
    for (const LiveAc& ac : g_liveAcs) {
        if (ac.simState == SimState::Active && ac.phase == FlightPhase::Parked)
            gf_setNavLights(ac.objectId, value);
    }
}

void lf_limitLiveAircraft(std::int32_t limit) {
    auto active = std::count_if(g_liveAcs.begin(), g_liveAcs.end(),
                                [](const LiveAc& ac) { return ac.simState == SimState::Active; });
    for (; active > limit; --active) {
        if (gf_removeFarthestLiveAc(-1.0)) break;  // none was removed
    }
}

}  // namespace

void gf_requestNavLights(bool on) {
    g_navLightsRequest = on ? 1 : 0;
}

void gf_requestLiveLimit(std::int32_t limit) {
    g_liveLimitRequest = std::max<std::int32_t>(limit, 0);
}

void gf_serveWindowRequests() {
    if (const std::int32_t lights = g_navLightsRequest.exchange(kNone); lights != kNone)
        lf_setNavLights(lights == 1);
    if (const std::int32_t limit = g_liveLimitRequest.exchange(kNone); limit != kNone)
        lf_limitLiveAircraft(limit);
}

}  // namespace mrw

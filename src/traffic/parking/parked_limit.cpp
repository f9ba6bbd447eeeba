#include "traffic/parking/parked_limit.h"

#include <algorithm>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/log.h"
#include "foundation/window_model.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/parking/stand_use_learning.h"

namespace mrw {

namespace {

bool lf_activeParked(const LiveAc& aircraft) {
    return aircraft.simState == SimState::Active && aircraft.phase == FlightPhase::Parked;
}

int lf_weekOrder(WeekSlot slot) {
    return (slot.weekday - 1) * 48 + slot.slot;
}

void lf_enforceLiveMaxPark() {
    std::vector<ParkedLive> parked;
    lf_collectParkedLive(parked);
    if (parked.empty()) return;
    LiveAc* aircraft = gf_liveAcOfHexid(parked.front().hexid);
    if (aircraft == nullptr || aircraft->simState != SimState::Active) return;
    gf_logLine(fmt::format("{:8}: {} live max park exceeded, removed", gf_standName(aircraft->standNumber),
                           aircraft->callsign));
    aircraft->removeAircraftFromSim();
}

void lf_enforceStaticMaxPark() {
    const auto earliest =
        std::min_element(g_staticAcs.begin(), g_staticAcs.end(), [](const auto& a, const auto& b) {
            return lf_weekOrder(a.parkedSince) < lf_weekOrder(b.parkedSince);
        });
    if (earliest == g_staticAcs.end() || earliest->simState != SimState::Active) return;
    gf_logLine(fmt::format("{:8}: {} static max park exceeded, removed", gf_standName(earliest->standNumber),
                           earliest->callsign));
    earliest->removeAircraftFromSim();
}

}  // namespace

void lf_collectParkedLive(std::vector<ParkedLive>& list) {
    list.clear();
    list.reserve(128);
    const std::int64_t now = gf_wallClock100ns();
    for (const LiveAc& aircraft : g_liveAcs)
        if (lf_activeParked(aircraft))
            list.push_back({aircraft.hexid, (now - aircraft.parkedAt) / 10'000'000});
    std::stable_sort(list.begin(), list.end(), [](const ParkedLive& a, const ParkedLive& b) {
        return a.secondsParked > b.secondsParked;
    });
}

void lf_enforceMaxPark(bool extra) {
    const auto p =
        static_cast<std::int32_t>(std::count_if(g_liveAcs.begin(), g_liveAcs.end(), lf_activeParked));
    const std::int32_t max = g_mainWindow().maxPark.load();
    if (max <= 0) return;
    const std::int32_t n = extra ? p + 1 : p;
    if (!g_parameters().INITIAL_LOAD_ONLY.current && n > max) lf_enforceLiveMaxPark();
    const auto s =
        static_cast<std::int32_t>(std::count_if(g_staticAcs.begin(), g_staticAcs.end(), [](const auto& a) {
            return a.simState == SimState::Active || a.simState == SimState::RemovingFromSim;
        }));
    if (s + n > max) lf_enforceStaticMaxPark();
}

void lf_removeLiveParkedAt(std::int32_t n) {
    std::vector<ParkedLive> parked;
    lf_collectParkedLive(parked);
    parked.resize(std::min(parked.size(), static_cast<std::size_t>(std::max(n, 0))));
    for (LiveAc& aircraft : g_liveAcs) {
        const bool chosen = std::any_of(parked.begin(), parked.end(), [&](const ParkedLive& entry) {
            return entry.hexid == aircraft.hexid;
        });
        if (!chosen) continue;
        gf_logLine(fmt::format("live parked {} at {} removed", gf_aircraftText(aircraft),
                               gf_standName(aircraft.standNumber)));
        aircraft.removeAircraftFromSim();
    }
}

}  // namespace mrw

#include "traffic/engine/engine_limits.h"

#include <algorithm>
#include <string>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/file_names.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"
#include "foundation/window_model.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/user_aircraft_data.h"
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

std::string lf_objectIdLine(const LiveAc& aircraft) {
    return fmt::format(
        "{};{};{};{};{};{};{}", gf_idText(aircraft.objectId), aircraft.callsign, aircraft.registration,
        g_airlineCodes().text(aircraft.designation.airline), g_modelCodes().text(aircraft.designation.model),
        aircraft.onGroundInSim ? "GND" : "AIR", aircraft.phase == FlightPhase::Parked ? "PARKED" : "");
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

bool gf_removeFarthestLiveAc(double distanceNm) {
    const Lalo user{g_userAcData.latitude, g_userAcData.longitude};
    LiveAc* chosen = nullptr;
    double best = distanceNm;
    for (LiveAc& aircraft : g_liveAcs) {
        if (aircraft.simState != SimState::Active) continue;
        const double d = gf_distanceNm(user, {aircraft.simPosition.lat, aircraft.simPosition.lon});
        const bool farther = distanceNm < 0.0 ? (chosen == nullptr || d > best) : d > best + 0.1;
        if (!farther) continue;
        chosen = &aircraft;
        best = d;
    }
    if (chosen == nullptr) return true;
    chosen->removeAircraftFromSim();
    return false;
}

void LiveAc::removeStaticInWay() {
    if (!onGroundInSim || landingRoll || takeOffRoll) return;
    clearCheckPosition = {simPosition.lat, simPosition.lon};
    const auto inWay = std::find_if(g_staticAcs.begin(), g_staticAcs.end(), [this](const StaticAc& parked) {
        return parked.simState == SimState::Active && parked.callsign != callsign &&
               gf_distanceNm(parked.standPosition, clearCheckPosition) <=
                   (halfSpanNm + parked.halfSpanNm) * 1.1;
    });
    if (inWay != g_staticAcs.end()) inWay->removeAircraftFromSim();
}

void gf_clearSelectedAc() {
    g_selectedObjectId.store(0);
    g_mainWindow().callsignObjectIdText.set("");
    gf_invalidateControlPanel();
    ParameterCatalogue& p = g_parameters();
    g_callsignChoices().replace({""});
    p.CALLSIGN_2_OBJECTID.current.set("");
    p.CALLSIGN_2_OBJECTID.fillCombo();
    gf_enableControl(p.CALLSIGN_2_OBJECTID, false);
    gf_enableControl(p.blockButton, false);
}

bool lf_refreshSelectableAcs() {
    std::vector<std::string> callsigns;
    for (const LiveAc& aircraft : g_liveAcs)
        if (aircraft.simState == SimState::Active && aircraft.phase != FlightPhase::Parked)
            callsigns.push_back(aircraft.callsign);
    std::sort(callsigns.begin(), callsigns.end());
    const bool any = !callsigns.empty();
    ParameterCatalogue& p = g_parameters();
    p.CALLSIGN_2_OBJECTID.current.set(any ? callsigns.front() : std::string{});
    g_callsignChoices().replace(std::move(callsigns));
    p.CALLSIGN_2_OBJECTID.fillCombo();
    gf_enableControl(p.CALLSIGN_2_OBJECTID, any);
    gf_enableControl(p.blockButton, any && !gf_controlEnabled(p.unblockButton));
    return any;
}

void lf_writeObjectIdList() {
    std::vector<std::string> lines;
    for (const LiveAc& aircraft : g_liveAcs)
        if (aircraft.simState == SimState::Active) lines.push_back(lf_objectIdLine(aircraft));
    if (!gf_writeLines(lines, g_objectIdListFile))
        gf_logError(fmt::format("Failed to write {}", path_to_utf8(g_objectIdListFile)));
}

}  // namespace mrw

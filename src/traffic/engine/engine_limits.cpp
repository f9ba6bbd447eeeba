#include "traffic/engine/engine_limits.h"

#include <algorithm>
#include <string>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "foundation/file_names.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"

namespace mrw {

namespace {

std::string lf_objectIdLine(const LiveAc& aircraft) {
    return fmt::format(
        "{};{};{};{};{};{};{}", gf_idText(aircraft.objectId), aircraft.callsign, aircraft.registration,
        g_airlineCodes().text(aircraft.designation.airline), g_modelCodes().text(aircraft.designation.model),
        aircraft.onGroundInSim ? "GND" : "AIR", aircraft.phase == FlightPhase::Parked ? "PARKED" : "");
}

}  // namespace

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

void lf_writeObjectIdList() {
    std::vector<std::string> lines;
    for (const LiveAc& aircraft : g_liveAcs)
        if (aircraft.simState == SimState::Active) lines.push_back(lf_objectIdLine(aircraft));
    if (!gf_writeLines(lines, g_objectIdListFile))
        gf_logError(fmt::format("Failed to write {}", path_to_utf8(g_objectIdListFile)));
}

}  // namespace mrw

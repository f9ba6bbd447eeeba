#include "traffic/engine/aircraft_removal.h"

#include <algorithm>

#include <fmt/format.h>

#include "foundation/log.h"
#include "traffic/engine/aircraft_texts.h"
#include "traffic/engine/engine_containers.h"
#include "traffic/parking/park_stands.h"

namespace mrw {

namespace {

constexpr std::uint32_t kHighestStaticNumber = 10000;

}  // namespace

bool gf_withdrawCreateRequest(std::deque<CreateRequest>& queue, std::string_view callsign) {
    if (callsign.empty()) return false;
    const auto kept = std::remove_if(queue.begin(), queue.end(), [callsign](const CreateRequest& request) {
        return request.callsign == callsign;
    });
    const bool withdrawn = kept != queue.end();
    queue.erase(kept, queue.end());
    return withdrawn;
}

void lf_setStandOccupied(std::int32_t standNumber, bool occupied) {
    if (Stand* stand = gf_findParkStand(standNumber)) stand->occupied = occupied;
}

void StaticAc::removeAircraftFromSim() {
    switch (simState) {
        case SimState::Buffer:
            eraseNeverCreated = true;
            return;
        case SimState::Adding2Sim:
            if (removeWhenCreated) return;
            if (gf_withdrawCreateRequest(g_liveCreateQueue, callsign) ||
                gf_withdrawCreateRequest(g_staticCreateQueue, callsign))
                eraseWithdrawn = true;
            else
                removeWhenCreated = true;
            return;
        case SimState::Active:
        case SimState::LiveryRespawn:
        case SimState::RemovingFromSim:
            if (hexid > kHighestStaticNumber) lf_setStandOccupied(standNumber, false);
            simState = SimState::RemovingFromSim;
            if (objectId == 0)
                gf_logError(fmt::format("{} removing act {}, with objectid=0 ?", "removeAircraftFromSim",
                                        gf_aircraftText(*this)));
            else
                g_removeQueue.push_back(objectId);
            return;
    }
}

}  // namespace mrw

#include <algorithm>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/parking/park_stands.h"

namespace mrw {

namespace {

void lf_withdrawOrMark(StaticAc& aircraft) {
    if (aircraft.removeWhenCreated) return;
    if (gf_withdrawCreateRequest(g_liveCreateQueue, aircraft.callsign) ||
        gf_withdrawCreateRequest(g_staticCreateQueue, aircraft.callsign)) {
        aircraft.eraseWithdrawn = true;
        g_erasureFlagged = true;
        return;
    }
    // The request has left, or is still to be built from the adding stack: the activation removes
    // the object when it comes.
    aircraft.removeWhenCreated = true;
}

void lf_removeFromSim(StaticAc& aircraft) {
    if (aircraft.hexid > 10000) {
        lf_setStandOccupied(aircraft.standNumber, false);
        if (aircraft.objectId != 0 && g_selectedObjectId.load() == aircraft.objectId) {
            g_selectedObjectId.store(0);
            gf_clearSelectedAc();
        }
    }
    aircraft.simState = SimState::RemovingFromSim;
    if (aircraft.objectId == 0) {
        gf_logError(fmt::format("{} removing act {}, with objectid=0 ?", "removeAircraftFromSim",
                                gf_aircraftText(aircraft)));
        // No removal can be reported for it: the record goes now instead of waiting for ever.
        aircraft.eraseNeverCreated = true;
        g_erasureFlagged = true;
        return;
    }
    g_removeQueue.push_back(aircraft.objectId);
}

}  // namespace

void StaticAc::removeAircraftFromSim() {
    switch (simState) {
        case SimState::Buffer:
            eraseNeverCreated = true;
            g_erasureFlagged = true;
            break;
        case SimState::Adding2Sim:
            lf_withdrawOrMark(*this);
            break;
        default:
            lf_removeFromSim(*this);
            break;
    }
}

}  // namespace mrw

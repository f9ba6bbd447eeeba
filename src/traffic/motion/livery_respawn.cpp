// A live aircraft's simulator object is removed to be created again with another livery; the
// record keeps its place in the stream.

#include <fmt/format.h>

#include <exception>

#include "aircraft/aircraft_texts.h"
#include "foundation/log.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/motion/motion_math.h"

namespace mrw {

void LiveAc::liveryRespawn() {
    try {
        if (samples.empty()) {
            gf_logError(fmt::format("{} empty sz? {}", "liveryRespawn", gf_aircraftText(*this)));
            return;
        }
        PositionSample copy = samples.front();
        if (phase == FlightPhase::Parked) {
            samples.resize(1);
            samples.front().stationary = true;
            copy.stationary = true;
            samples.front().trackDeg = simPosition.heading * kDegPerRad;
        } else {
            copy.lat = simPosition.lat;
            copy.lon = simPosition.lon;
            copy.altitudeFt = simPosition.altitudeFt;
            copy.rollRad = simPosition.bank;
            if (gf_samePosition(gf_lalo(samples.front()), gf_lalo(simPosition)))
                samples.front().stationary = true;
        }
        copy.dueTick = g_engineTick.load() + 1;
        samples.push_front(copy);
        simState = SimState::LiveryRespawn;
        respawnHeading = simPosition.heading;
        if (objectId != 0 && objectId == g_selectedObjectId.load()) gf_clearSelectedAc();
        if (objectId == 0) {
            gf_logError(
                fmt::format("{} removing act {} with objectid=0 ?", "liveryRespawn", gf_aircraftText(*this)));
            // No object to remove, so no removal will be reported: the record is buffered again now.
            returnToBuffer();
        } else {
            g_removeQueue.push_back(objectId);
        }
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: {}", "liveryRespawn", e.what()));
    }
}

}  // namespace mrw

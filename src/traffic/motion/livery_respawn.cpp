#include "traffic/engine/aircraft_records.h"
#include "traffic/engine/engine_containers.h"

namespace mrw {

void LiveAc::liveryRespawn() {
    simState = SimState::LiveryRespawn;
    respawnHeading = simPosition.heading;
    if (objectId != 0) g_removeQueue.push_back(objectId);
}

bool LiveAc::removeIfInUserPath(int /*kind*/) {
    return false;
}

}  // namespace mrw

#include "traffic/parking/static_parking.h"

#include <algorithm>

#include "traffic/engine/engine_containers.h"

namespace mrw {

std::uint64_t gf_countStaticParked(bool /*withAverage*/) {
    return static_cast<std::uint64_t>(
        std::count_if(g_staticAcs.begin(), g_staticAcs.end(), [](const StaticAc& ac) {
            return ac.simState == SimState::Active || ac.simState == SimState::RemovingFromSim;
        }));
}

std::uint64_t gf_countLiveParked(bool /*withAverage*/) {
    return static_cast<std::uint64_t>(std::count_if(g_liveAcs.begin(), g_liveAcs.end(), [](const LiveAc& ac) {
        return ac.phase == FlightPhase::Parked && ac.simState == SimState::Active;
    }));
}

}  // namespace mrw

#include "traffic/model/sim_events.h"

namespace mrw {

void gf_postSimEvent(const SimEvent& event) {
    MutexLock lock(g_simEventMutex);
    g_simEvents.push_back(event);
}

}  // namespace mrw

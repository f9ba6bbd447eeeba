#include "traffic/parking/static_creation.h"

#include "traffic/parking/parking_plan.h"

namespace mrw {

void lf_detcs() {
    if (!g_parkingPlan.empty()) g_parkingPlan.pop_back();
}

}  // namespace mrw

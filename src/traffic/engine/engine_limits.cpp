#include "traffic/engine/engine_limits.h"

namespace mrw {

bool gf_removeFarthestLiveAc(double /*distanceNm*/) {
    return true;
}

void gf_clearSelectedAc() {
    g_selectedObjectId = 0;
}

}  // namespace mrw

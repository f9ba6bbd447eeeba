#include "traffic/run/run_end.h"

namespace mrw {

void lf_switchSimVersion() {
    gf_stopWithReason(ExitReason::NewSettings, 3);
}

void gf_simDisconnected(bool switchVersion) {
    if (switchVersion)
        lf_switchSimVersion();
    else
        gf_stopWithReason(ExitReason::SimWasClosed, 0);
}

}  // namespace mrw

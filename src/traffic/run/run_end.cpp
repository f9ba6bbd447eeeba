#include "traffic/run/run_end.h"

namespace mrw {

void lf_switchSimVersion() {
    gf_stopWithReason(ExitReason::NewSettings, 3);
}

}  // namespace mrw

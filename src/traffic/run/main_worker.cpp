#include "traffic/run/main_worker.h"

namespace mrw {

void lf_startUpMRWV() {}

}  // namespace mrw

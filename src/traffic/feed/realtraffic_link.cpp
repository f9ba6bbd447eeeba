#include "traffic/feed/realtraffic_link.h"

namespace mrw {

void lf_closeRealTrafficLink() {}

}  // namespace mrw

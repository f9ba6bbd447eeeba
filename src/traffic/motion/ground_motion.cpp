#include "traffic/engine/aircraft_records.h"

namespace mrw {

void LiveAc::updateStandCargoFlag() {}

}  // namespace mrw

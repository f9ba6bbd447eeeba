#include "platform/system/native_calls.h"
#include "platform/system/timer_period.h"

namespace platform::native {

// Linux sleeps are already fine-grained: nothing to change.
unsigned beginTimerPeriod(unsigned) {
    return kTimerNoError;
}

unsigned endTimerPeriod(unsigned) {
    return kTimerNoError;
}

}  // namespace platform::native

#include <unistd.h>

#include "platform/system/native_calls.h"

namespace platform::native {

bool isProcessElevated() {
    return ::geteuid() == 0;
}

}  // namespace platform::native

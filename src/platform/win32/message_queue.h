#pragma once
// Internal: taking the next message of the calling thread, as GetMessageW and the test pumps do.

#include "platform/win32/user32.h"

namespace win32_internal {

// Serves the messages sent to this thread, then takes the next posted message, then WM_QUIT,
// then a WM_PAINT for an invalid window of this thread. Without `wait` it returns false when
// there is nothing; with `wait` it blocks until there is something.
bool gf_nextMessage(MSG& msg, bool wait);

}  // namespace win32_internal

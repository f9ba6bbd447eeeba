#pragma once
// Between the test driver's pump and its painting side, over the real Win32.

#include "platform/win32/user32.h"

namespace mrwtest {

// Dispatches the message; a WM_PAINT is counted and its TextOut calls kept as the window's last
// display list.
void dispatchRecordingPaints(const MSG& msg);
// Drops the counts and display lists of every window (their handles may be reused).
void forgetPaints();

}  // namespace mrwtest

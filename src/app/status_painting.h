#pragma once
// Painting the main window: the five bands drawn into a memory bitmap and copied to the window in
// one piece. UI thread only; it reads the main-window state and the settings and changes nothing.

#include "platform/win32/win32_types.h"

namespace mrw {

// The whole client area, on the device context of BeginPaint.
void lf_paintMainWindow(HDC hdc);

}  // namespace mrw

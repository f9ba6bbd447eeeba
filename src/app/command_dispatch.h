#pragma once
// WM_COMMAND of the main window: clicks and choices handed to the button, check-box and combo-box
// handlers in this order.

#include "platform/win32/win32_types.h"

namespace mrw {

// True when a handler took the command; false (after a repaint of the panel) when none did.
bool lf_HandleWMCOMMAND(HWND hwnd, WPARAM wParam);

}  // namespace mrw

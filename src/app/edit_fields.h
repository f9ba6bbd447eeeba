#pragma once
// The panel's three edit fields: each is subclassed with a procedure that acts on Enter.

#include "platform/win32/win32_types.h"

namespace mrw {

LRESULT lf_blockCallsignEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT lf_destinationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT lf_installPathEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mrw

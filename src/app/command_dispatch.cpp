#include "app/command_dispatch.h"

#include "app/main_window.h"
#include "platform/win32/win32.h"

namespace mrw {

bool lf_HandleWMCOMMAND(HWND hwnd, WPARAM /*wParam*/) {
    InvalidateRect(hwnd, &kControlPanelRect, TRUE);
    return false;
}

}  // namespace mrw

#include "app/command_dispatch.h"

#include <fmt/format.h>

#include <exception>

#include "app/button_handlers.h"
#include "app/check_box_handlers.h"
#include "app/combo_box_handlers.h"
#include "app/main_window.h"
#include "foundation/log.h"
#include "platform/win32/win32.h"

namespace mrw {

bool lf_HandleWMCOMMAND(HWND hwnd, WPARAM wParam) {
    try {
        const std::uint16_t id = LOWORD(wParam);
        if (lf_onButton(hwnd, id)) return true;
        if (lf_onCheckBox(hwnd, id)) return true;
        if (lf_onComboChange(hwnd, wParam)) return true;
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} exception {}", "lf_HandleWMCOMMAND", e.what()));
    }
    InvalidateRect(hwnd, &kControlPanelRect, TRUE);
    return false;
}

}  // namespace mrw

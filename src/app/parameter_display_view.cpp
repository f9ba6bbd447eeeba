#include "app/parameter_display_view.h"

#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/parameter_display.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "platform/win32/user32.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>
#include <string>

namespace mrw {

namespace {

// The control of the binding under the main window; logged when the window has none.
HWND lf_control(const ControlBinding& binding) {
    const HWND control = GetDlgItem(g_mainWindowView().hwnd, binding.controlId);
    if (control == nullptr) gf_logLine(fmt::format("GetDlgItem failed for ID {}", binding.controlId));
    return control;
}

// A drop-down list shows no text of its own (WM_SETTEXT changes nothing there): it selects the
// choice equal to the text, or none.
void lf_selectText(HWND control, const std::vector<std::string>& choices, const std::string& text) {
    const auto found = std::find(choices.begin(), choices.end(), text);
    const auto index = found == choices.end() ? -1 : std::distance(choices.begin(), found);
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void lf_showText(const ControlParameter& parameter, const std::string& text) {
    try {
        const std::u16string wide = utf8_to_wide(text);
        const HWND control = lf_control(parameter);
        if (control == nullptr) return;
        if (const auto* combo = dynamic_cast<const StringComboParameter*>(&parameter)) {
            lf_selectText(control, combo->choices, text);
        } else if (const auto* shared = dynamic_cast<const SharedComboParameter*>(&parameter)) {
            lf_selectText(control, shared->choices->copy(), text);
        } else {
            SetWindowTextW(control, wide.c_str());
        }
        gf_invalidateControlPanel();
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("utf8_to_wide failed for '{}': {}", text, e.what()));
    }
}

void lf_showInt(const IntComboParameter& parameter) {
    if (lf_control(parameter) == nullptr) return;
    gf_selectChoice(parameter, parameter.current.load());
    gf_invalidateControlPanel();
}

void lf_showString(const ControlParameter& parameter) {
    lf_showText(parameter, parameter.current.get());
}

}  // namespace

void gf_registerParameterDisplayView() {
    gf_setParameterDisplay({&lf_showInt, &lf_showString});
}

}  // namespace mrw

#include "app/parameter_display.h"

#include "app/main_window.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "platform/win32/user32.h"

#include <fmt/format.h>

#include <exception>
#include <string>

namespace mrw {

namespace {

void lf_showText(const ControlBinding& binding, const std::string& text) {
    try {
        const std::u16string wide = utf8_to_wide(text);
        const HWND window = g_mainWindow().hwnd;
        const HWND control = GetDlgItem(window, binding.controlId);
        if (control == nullptr) {
            gf_logLine(fmt::format("GetDlgItem failed for ID {}", binding.controlId));
            return;
        }
        SetWindowTextW(control, wide.c_str());
        gf_invalidateControlPanel();
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("utf8_to_wide failed for '{}': {}", text, e.what()));
    }
}

}  // namespace

void gf_showIntParameter(const IntComboParameter& parameter) {
    lf_showText(parameter, fmt::format("{}", parameter.current.load()));
}

void gf_showStringParameter(const ControlParameter& parameter) {
    lf_showText(parameter, parameter.current.get());
}

}  // namespace mrw

#include "app/control_updates.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/main_window.h"

namespace mrw {

namespace {

// CB_SETCURSEL with the index of the exactly equal choice: CB_SELECTSTRING matches a prefix and
// would pick "50" for 5.
template <typename T>
void lf_selectEqual(const ControlBinding& binding, const std::vector<T>& choices, T value) {
    const auto found = std::find(choices.begin(), choices.end(), value);
    if (found == choices.end()) return;
    if (HWND control = gf_controlOf(binding))
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(std::distance(choices.begin(), found)), 0);
}

}  // namespace

HWND gf_controlOf(const ControlBinding& binding) {
    HWND window = g_mainWindow().hwnd.load();
    return window ? GetDlgItem(window, binding.controlId) : nullptr;
}

void gf_showCheck(const CheckBoxParameter& parameter) {
    if (HWND control = gf_controlOf(parameter))
        SendMessageW(control, BM_SETCHECK, parameter.current.load() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void gf_selectChoice(const IntComboParameter& parameter, std::int32_t value) {
    lf_selectEqual(parameter, parameter.choices, value);
}

void gf_selectChoice(const FloatComboParameter& parameter, float value) {
    lf_selectEqual(parameter, parameter.choices, value);
}

void gf_enableControl(const ControlBinding& binding, bool enable) {
    if (HWND control = gf_controlOf(binding)) EnableWindow(control, enable ? TRUE : FALSE);
}

void gf_invalidateControlPanel() {
    static constexpr RECT kControlPanel{0, 112, 880, 392};
    if (HWND window = g_mainWindow().hwnd.load()) InvalidateRect(window, &kControlPanel, TRUE);
}

}  // namespace mrw

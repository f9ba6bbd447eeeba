#include "config/control_updates.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/win32/user32.h"

namespace mrw {

namespace {

// CB_SETCURSEL with the index of the exactly equal choice: CB_SELECTSTRING matches a prefix and
// would pick "50" for 5.
template <typename T>
void lf_selectEqual(const ControlBinding& binding, const std::vector<T>& choices, T value) {
    const auto found = std::find(choices.begin(), choices.end(), value);
    if (found == choices.end() || binding.hwnd == nullptr) return;
    SendMessageW(binding.hwnd, CB_SETCURSEL, static_cast<WPARAM>(std::distance(choices.begin(), found)), 0);
}

}  // namespace

void gf_selectChoice(const IntComboParameter& parameter, std::int32_t value) {
    lf_selectEqual(parameter, parameter.choices, value);
}

void gf_selectChoice(const FloatComboParameter& parameter, float value) {
    lf_selectEqual(parameter, parameter.choices, value);
}

void gf_enableControl(const ControlBinding& binding, bool enable) {
    if (binding.hwnd != nullptr) EnableWindow(binding.hwnd, enable ? TRUE : FALSE);
}

bool gf_controlEnabled(const ControlBinding& binding) {
    return binding.hwnd != nullptr && IsWindowEnabled(binding.hwnd) != FALSE;
}

}  // namespace mrw

#include "config/control_updates.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "config/control_surface.h"

namespace mrw {

namespace {

// Selects the index of the exactly equal choice: a prefix selection would pick "50" for 5.
template <typename T>
void lf_selectEqual(const ControlBinding& binding, const std::vector<T>& choices, T value) {
    const auto found = std::find(choices.begin(), choices.end(), value);
    ControlSurface* surface = gf_surfaceFor(binding);
    if (found == choices.end() || surface == nullptr) return;
    surface->selectIndex(binding.hwnd, static_cast<std::size_t>(std::distance(choices.begin(), found)));
}

}  // namespace

void gf_selectChoice(const IntComboParameter& parameter, std::int32_t value) {
    lf_selectEqual(parameter, parameter.choices, value);
}

void gf_selectChoice(const FloatComboParameter& parameter, float value) {
    lf_selectEqual(parameter, parameter.choices, value);
}

void gf_enableControl(const ControlBinding& binding, bool enable) {
    if (ControlSurface* surface = gf_surfaceFor(binding)) surface->setEnabled(binding.hwnd, enable);
}

bool gf_controlEnabled(const ControlBinding& binding) {
    ControlSurface* surface = gf_surfaceFor(binding);
    return surface != nullptr && surface->isEnabled(binding.hwnd);
}

}  // namespace mrw

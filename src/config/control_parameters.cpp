#include "config/control_parameters.h"

#include "config/control_surface.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>

namespace mrw {

namespace {

// The surface when the bound control exists; else null (nothing to fill).
ControlSurface* lf_liveControl(const ControlBinding& binding) {
    ControlSurface* surface = gf_controlSurface();
    return surface != nullptr && surface->exists(binding.hwnd) ? surface : nullptr;
}

// Fills the combo box with the UTF-8 choices and selects the first one that begins with `current`
// (case-blind prefix). A text that is not valid UTF-8 is logged and left out of the list (a choice)
// or selects nothing (the current text).
void lf_fillAndSelect(ControlSurface& surface, HWND__* combo, const std::vector<std::string>& choices,
                      const std::string& current) {
    std::vector<std::u16string> texts;
    texts.reserve(choices.size());
    for (const auto& choice : choices) {
        try {
            texts.push_back(utf8_to_wide(choice));
        } catch (const std::exception& e) {
            gf_logLine(fmt::format("utf8_to_wide failed for '{}': {}", choice, e.what()));
        }
    }
    surface.fillCombo(combo, texts);
    try {
        surface.selectPrefix(combo, utf8_to_wide(current));
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("utf8_to_wide failed for '{}': {}", current, e.what()));
    }
}

}  // namespace

void CheckBoxParameter::showCheck() const {
    if (ControlSurface* surface = gf_surfaceFor(*this)) surface->setCheck(hwnd, current.load());
}

void IntComboParameter::fillCombo() const {
    ControlSurface* surface = lf_liveControl(*this);
    if (surface == nullptr) return;
    std::vector<std::u16string> texts;
    texts.reserve(choices.size());
    for (std::int32_t choice : choices)
        texts.push_back(utf8_to_wide(fmt::format("{}", choice)));
    surface->fillCombo(hwnd, texts);
    const auto found = std::find(choices.begin(), choices.end(), current.load());
    if (found != choices.end()) surface->selectIndex(hwnd, static_cast<std::size_t>(found - choices.begin()));
}

void StringComboParameter::fillCombo() const {
    if (ControlSurface* surface = lf_liveControl(*this))
        lf_fillAndSelect(*surface, hwnd, choices, current.get());
}

std::optional<std::size_t> StringComboParameter::indexOfCurrent() const {
    const std::string text = current.get();
    const auto found = std::find(choices.begin(), choices.end(), text);
    if (found == choices.end()) return std::nullopt;
    return static_cast<std::size_t>(found - choices.begin());
}

void SharedComboParameter::fillCombo() const {
    if (ControlSurface* surface = lf_liveControl(*this))
        lf_fillAndSelect(*surface, hwnd, choices->copy(), current.get());
}

}  // namespace mrw

#include "config/control_parameters.h"

#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "platform/win32/user32.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>

namespace mrw {

namespace {

// Empties the combo box and adds the texts in order.
void lf_fillTexts(HWND combo, const std::vector<std::u16string>& texts) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const auto& text : texts)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Fills the combo box with the UTF-8 choices and selects the first one that begins with `current`
// (CB_SELECTSTRING: case-blind prefix). A text that is not valid UTF-8 is logged and left out of the
// list (a choice) or selects nothing (the current text).
void lf_fillAndSelect(HWND combo, const std::vector<std::string>& choices, const std::string& current) {
    std::vector<std::u16string> texts;
    texts.reserve(choices.size());
    for (const auto& choice : choices) {
        try {
            texts.push_back(utf8_to_wide(choice));
        } catch (const std::exception& e) {
            gf_logLine(fmt::format("utf8_to_wide failed for '{}': {}", choice, e.what()));
        }
    }
    lf_fillTexts(combo, texts);
    try {
        const std::u16string wanted = utf8_to_wide(current);
        SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(wanted.c_str()));
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("utf8_to_wide failed for '{}': {}", current, e.what()));
    }
}

}  // namespace

void CheckBoxParameter::showCheck() const {
    if (hwnd == nullptr) return;
    SendMessageW(hwnd, BM_SETCHECK, current.load() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void IntComboParameter::fillCombo() const {
    if (!IsWindow(hwnd)) return;
    std::vector<std::u16string> texts;
    texts.reserve(choices.size());
    for (std::int32_t choice : choices)
        texts.push_back(utf8_to_wide(fmt::format("{}", choice)));
    lf_fillTexts(hwnd, texts);
    const auto found = std::find(choices.begin(), choices.end(), current.load());
    if (found != choices.end())
        SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(found - choices.begin()), 0);
}

void StringComboParameter::fillCombo() const {
    if (!IsWindow(hwnd)) return;
    lf_fillAndSelect(hwnd, choices, current.get());
}

std::optional<std::size_t> StringComboParameter::indexOfCurrent() const {
    const std::string text = current.get();
    const auto found = std::find(choices.begin(), choices.end(), text);
    if (found == choices.end()) return std::nullopt;
    return static_cast<std::size_t>(found - choices.begin());
}

void SharedComboParameter::fillCombo() const {
    if (!IsWindow(hwnd)) return;
    lf_fillAndSelect(hwnd, choices->copy(), current.get());
}

}  // namespace mrw

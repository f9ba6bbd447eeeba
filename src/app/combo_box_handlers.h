#pragma once
// The twelve combo boxes of the panel: a chosen entry is stored, saved and applied. UI thread.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32/win32_types.h"

namespace mrw {

// The selected entry of a combo box.
struct ComboSelection {
    int index = 0;
    std::string text;
};

// True when the command is a selection change of one of the combo boxes (then handled).
bool lf_onComboChange(HWND hwnd, WPARAM wParam);
// The selection when the command is the CBN_SELCHANGE of that control and both the selection and its
// whole text can be read.
std::optional<ComboSelection> lf_getComboSelection(HWND hwnd, std::uint16_t id, WPARAM wParam);

}  // namespace mrw

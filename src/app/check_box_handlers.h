#pragma once
// The 21 check boxes of the panel: the handler flips the mark, saves the option and applies what it
// needs at once. UI thread.

#include <cstdint>

#include "platform/win32/win32_types.h"

namespace mrw {

// True when the id is one of the check boxes (the command is handled).
bool lf_onCheckBox(HWND hwnd, std::uint16_t id);

}  // namespace mrw

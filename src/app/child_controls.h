#pragma once
// The 43 child controls of the main window's panel.

#include <string_view>

#include "platform/win32/win32_types.h"

namespace mrw {

// The request painted beside the tblo.zip button while add-on airport files wait to be sent.
inline constexpr std::string_view kTbloRequestText = "<- please mail tblo.zip to tblo@merrowvale.example";

// WM_CREATE of the main window: creates the controls in their order, then repaints the panel.
void lf_createControls(HWND parent, const CREATESTRUCTW& creation);

}  // namespace mrw

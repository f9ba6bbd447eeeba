#pragma once
// Internal: the window procedures of the built-in controls "button", "Edit" and "ComboBox".

#include "platform/win32/user32.h"

namespace win32_internal {

LRESULT gf_buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT gf_editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT gf_comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The input that the test API injects, posted to a control so that it passes through the
// queue like real input. Values from the range the system keeps for itself.
inline constexpr UINT kChooseItemMessage = 0x03F0;  // wParam: the item index a user picked

// The height of a closed drop-down-list combo box: the list below is not drawn.
inline constexpr int kComboFieldHeight = 20;

}  // namespace win32_internal

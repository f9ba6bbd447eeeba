#pragma once
// Internal: the text messages as the default procedure answers them, shared by the controls.

#include "platform/win32/user32.h"

#include <string>

namespace win32_internal {

// WM_GETTEXT into a buffer of `capacity` characters: copies what fits and a terminating zero.
LRESULT gf_copyText(const std::u16string& text, WPARAM capacity, LPARAM buffer);
std::u16string gf_windowText(HWND hwnd);
void gf_storeText(HWND hwnd, LPCWSTR text);

}  // namespace win32_internal

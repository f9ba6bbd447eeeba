#pragma once
// The tests' windows: a window class is registered once per name for the whole test program, and a
// top-level window has the main window's size.

#include "platform/win32/user32.h"

namespace mrwtest {

// Registers the class with that window procedure unless the program did so before; false when the
// registration fails.
bool registerTestWindowClass(const char16_t* className, WNDPROC procedure);

// A top-level window of the class (registered first if need be), 880 by 516 like the main window.
HWND createTestWindow(const char16_t* className, WNDPROC procedure, DWORD style = WS_OVERLAPPED);

}  // namespace mrwtest

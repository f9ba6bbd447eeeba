#pragma once
// The start of the process on the UI thread: the single-instance guard, Log.txt, the command-line
// switches, the window class, the data directory, the main window at its saved place, the first
// run and the message loop.

#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/win32/win32_types.h"

// The GUI entry point the runtime calls (global, as the platform expects it); its result is the
// process exit code: -1 for a second instance, 1 for a failed start. C linkage: Windows' start-up
// code calls it by its C name.
extern "C" INT wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, INT show);

namespace mrw {

// Production mode, read by the main worker at each run start; written once after the window exists.
inline std::atomic<bool> g_productionMode{false};

// The application: switches, class, data directory, window, first run, message loop. Returns 1
// when the start failed, else the code that ended the message loop.
int gf_runApplication(HINSTANCE instance);
// Reads the saved position, creates and shows the main window; false when it could not.
bool initInstance(HINSTANCE instance, std::u16string_view className);
// The window's normal (restored) rectangle when it is minimized or maximized, else its rectangle.
RECT gf_restoredWindowRect(HWND hwnd);
// Repairs a position at a parameter limit (falling back to the given one) and keeps the window at
// least 48 pixels inside the nearest monitor's work area; a changed position is saved and applied.
void lf_keepWindowOnMonitor(std::int32_t fallbackX, std::int32_t fallbackY);

}  // namespace mrw

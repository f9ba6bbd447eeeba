#pragma once
// The main window's procedure: creates the controls, paints, hands commands to their handlers,
// starts a main worker for each run, turns the close button into the end of the run and, on
// WM_APP_QUIT, saves the window position and ends the message loop.

#include <atomic>
#include <thread>

#include "platform/win32/win32_types.h"

namespace mrw {

// The handle wndProc received last. Atomic: the UI thread writes it, the run reset nulls it.
inline std::atomic<HWND> g_hwndCurrent{nullptr};
// Holds each new main worker only until it is detached.
inline std::jthread g_mainWorkerThread;
// The code WM_APP_QUIT ends the message loop with: 0, or 1 after a failed production stop or a
// main worker that could not be started.
inline std::atomic<int> g_exitCode{0};

LRESULT wndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace mrw

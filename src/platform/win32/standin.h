#pragma once
// The test and demo side of the Win32 stand-in: input injection, pumping, display lists,
// pixels, monitors and PNG screenshots. Product code never calls these. The Windows test build
// has the input and pumping over the real Win32 (tests/support/win32_driver_windows.cpp).

#include "platform/win32/display_list.h"
#include "platform/win32/win32_types.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace standin {

// Input. Each is refused (false) for a stale handle or a disabled control, which ignores
// input. The input is posted to the control's queue, so it passes through the message loop and
// any subclass; called on the control's own thread, the call then pumps until idle.
bool click(HWND button);                              // a mouse click: BN_CLICKED to the parent
bool selectComboItem(HWND comboBox, int index);       // a user's choice: CBN_SELCHANGE
bool typeChars(HWND edit, std::u16string_view text);  // one WM_CHAR per character ('\r' = Enter)
// The close button: sends WM_CLOSE (waits for the window's thread).
bool requestClose(HWND window);

// Runs the calling thread's sent, posted and paint messages until none is left. A WM_QUIT is
// left in the queue for the real loop.
void pumpUntilIdle();
// Pumps until the condition holds or the time-out passes; returns the condition's last value.
bool pumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Posted messages waiting in the calling thread's queue.
std::size_t pendingMessages();

// The drawing calls of the window's last completed paint.
std::vector<PaintOp> paintOps(HWND window);
// The paints the window has completed; 0 for a stale handle.
std::uint64_t paintCount(HWND window);
// A pixel of the window's own surface as last painted; CLR_INVALID outside it or when stale.
COLORREF pixel(HWND window, int x, int y);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row
    COLORREF at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Repaints the window and its children (waiting for the window's thread when called from
// another one) and composes them into one image. Empty for a stale handle or a time-out.
std::optional<Image> renderWindow(HWND window);
// renderWindow written as an RGB PNG; false when the window is stale or the file fails.
bool savePng(HWND window, const std::filesystem::path& file);
std::optional<Image> readPng(const std::filesystem::path& file);

// Monitors: the first is the primary one. An empty list restores the default layout, one
// monitor with a 1920 x 1080 work area at (0, 0).
struct Monitor {
    RECT area;
    RECT workArea;
};
void setMonitors(const std::vector<Monitor>& monitors);
void resetMonitors();

// The font file for text (DejaVu Sans by default); a missing file gives boxed cells.
void setFontFile(const std::filesystem::path& file);

// Removes every window without sending messages (between tests).
void destroyAllWindows();

}  // namespace standin

// Enable state, visibility, texts, check marks and placement of windows.

#include "platform/win32/monitor_layout.h"
#include "platform/win32/window_registry.h"

using namespace win32_internal;

namespace {

LONG lf_width(const RECT& rect) {
    return rect.right - rect.left;
}
LONG lf_height(const RECT& rect) {
    return rect.bottom - rect.top;
}

// Minimized windows sit far off-screen, as Win32 puts them.
constexpr LONG kMinimizedPosition = -32000;

}  // namespace

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled = false;
    bool changed = false;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* window = gf_findWindow(system, hwnd);
        if (window == nullptr) return FALSE;
        wasDisabled = !window->enabled;
        changed = window->enabled != (enable != FALSE);
        window->enabled = enable != FALSE;
        if (changed) gf_invalidateLocked(system, *window, nullptr, true);
    }
    if (changed) SendMessageW(hwnd, WM_ENABLE, enable != FALSE ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    return window != nullptr && window->enabled ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hwnd, INT command) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (window->showState == SW_SHOWNORMAL) window->normalRect = window->rect;
    switch (command) {
        case SW_HIDE:
            window->visible = false;
            return wasVisible;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
            window->showState = SW_SHOWMINIMIZED;
            window->rect = RECT{kMinimizedPosition, kMinimizedPosition,
                                kMinimizedPosition + lf_width(window->normalRect),
                                kMinimizedPosition + lf_height(window->normalRect)};
            break;
        case SW_SHOWMAXIMIZED:
            window->showState = SW_SHOWMAXIMIZED;
            window->rect = gf_nearestWorkArea(window->normalRect);
            break;
        default:  // SW_SHOW keeps the state; SW_SHOWNORMAL and SW_RESTORE restore it
            if (command != SW_SHOW) {
                window->showState = SW_SHOWNORMAL;
                window->rect = window->normalRect;
            }
            break;
    }
    window->visible = true;
    gf_invalidateLocked(system, *window, nullptr, true);
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    return window != nullptr && window->visible ? TRUE : FALSE;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!IsWindow(hwnd)) return FALSE;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) == TRUE ? TRUE : FALSE;
}

INT GetWindowTextW(HWND hwnd, LPWSTR buffer, INT capacity) {
    if (buffer == nullptr || capacity <= 0 || !IsWindow(hwnd)) return 0;
    buffer[0] = u'\0';
    return static_cast<INT>(
        SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(buffer)));
}

INT GetWindowTextLengthW(HWND hwnd) {
    if (!IsWindow(hwnd)) return 0;
    return static_cast<INT>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL CheckDlgButton(HWND parent, INT id, UINT check) {
    HWND button = GetDlgItem(parent, id);
    if (button == nullptr) return FALSE;
    SendMessageW(button, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND parent, INT id) {
    HWND button = GetDlgItem(parent, id);
    if (button == nullptr) return 0;
    return static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0));
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, INT x, INT y, INT width, INT height, UINT flags) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return FALSE;
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
        if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    }
    RECT& rect = window->rect;
    LONG newWidth = (flags & SWP_NOSIZE) ? lf_width(rect) : width;
    LONG newHeight = (flags & SWP_NOSIZE) ? lf_height(rect) : height;
    LONG left = (flags & SWP_NOMOVE) ? rect.left : x;
    LONG top = (flags & SWP_NOMOVE) ? rect.top : y;
    bool resized = newWidth != lf_width(rect) || newHeight != lf_height(rect);
    rect = RECT{left, top, left + newWidth, top + newHeight};
    if (window->showState == SW_SHOWNORMAL) window->normalRect = rect;
    if (resized) gf_invalidateLocked(system, *window, nullptr, true);
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr || rect == nullptr) return FALSE;
    POINT origin = gf_screenOrigin(system, *window);
    *rect = RECT{origin.x, origin.y, origin.x + lf_width(window->rect), origin.y + lf_height(window->rect)};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr || rect == nullptr) return FALSE;
    // No non-client area: the client area is the whole window.
    *rect = RECT{0, 0, lf_width(window->rect), lf_height(window->rect)};
    return TRUE;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
    if (placement == nullptr || placement->length != sizeof(WINDOWPLACEMENT)) return FALSE;
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return FALSE;
    placement->flags = 0;
    placement->showCmd = static_cast<UINT>(window->showState);
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    RECT normal = window->showState == SW_SHOWNORMAL ? window->rect : window->normalRect;
    // The normal position is in workspace coordinates: relative to the primary work area.
    std::vector<MonitorEntry> monitors = gf_monitors();
    LONG dx = monitors.empty() ? 0 : monitors.front().work.left - monitors.front().monitor.left;
    LONG dy = monitors.empty() ? 0 : monitors.front().work.top - monitors.front().monitor.top;
    placement->rcNormalPosition =
        RECT{normal.left - dx, normal.top - dy, normal.right - dx, normal.bottom - dy};
    return TRUE;
}

// DefWindowProcW: what a window does with the messages its procedure leaves alone.

#include "platform/win32/gdi32.h"
#include "platform/win32/window_registry.h"
#include "platform/win32/window_text.h"

#include <algorithm>

using namespace win32_internal;

namespace {

// The system colours the default procedure hands out for control backgrounds.
constexpr COLORREF kWindowColour = 0xFFFFFF;
constexpr COLORREF kButtonFaceColour = 0xF0F0F0;

LRESULT lf_eraseBackground(HWND hwnd, HDC hdc) {
    HBRUSH brush = nullptr;
    RECT client{};
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* window = gf_findWindow(system, hwnd);
        if (window == nullptr) return 0;
        brush = window->background;
        client = RECT{0, 0, window->rect.right - window->rect.left, window->rect.bottom - window->rect.top};
    }
    if (brush == nullptr) return 0;
    FillRect(hdc, &client, brush);
    return 1;
}

LRESULT lf_controlColour(WPARAM hdcValue, COLORREF background) {
    HDC hdc = reinterpret_cast<HDC>(hdcValue);
    SetTextColor(hdc, 0x000000);
    SetBkColor(hdc, background);
    HGDIOBJ brush = GetStockObject(background == kWindowColour ? WHITE_BRUSH : DC_BRUSH);
    if (background != kWindowColour) SetDCBrushColor(hdc, background);
    return reinterpret_cast<LRESULT>(brush);
}

}  // namespace

namespace win32_internal {

LRESULT gf_copyText(const std::u16string& text, WPARAM capacity, LPARAM buffer) {
    auto* target = reinterpret_cast<char16_t*>(buffer);
    if (target == nullptr || capacity == 0) return 0;
    std::size_t count = std::min<std::size_t>(text.size(), capacity - 1);
    std::copy_n(text.begin(), count, target);
    target[count] = u'\0';
    return static_cast<LRESULT>(count);
}

std::u16string gf_windowText(HWND hwnd) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    return window == nullptr ? std::u16string() : window->text;
}

void gf_storeText(HWND hwnd, LPCWSTR text) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    if (Window* window = gf_findWindow(system, hwnd)) {
        window->text = text == nullptr ? u"" : text;
        gf_invalidateLocked(system, *window, nullptr, true);
    }
}

}  // namespace win32_internal

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            gf_storeText(hwnd, reinterpret_cast<LPCWSTR>(lParam));
            return TRUE;
        case WM_GETTEXT:
            return gf_copyText(gf_windowText(hwnd), wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(gf_windowText(hwnd).size());
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND:
            return lf_eraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_CTLCOLOREDIT:
            return lf_controlColour(wParam, kWindowColour);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return lf_controlColour(wParam, kButtonFaceColour);
        default:
            return 0;
    }
}

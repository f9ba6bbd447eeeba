#include "platform/win32/control_support.h"

#include "platform/win32/gdi32.h"
#include "platform/win32/gdi_internal.h"

using namespace win32_internal;

namespace win32_internal {

bool gf_withWindow(HWND hwnd, const std::function<void(Window&)>& change) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return false;
    change(*window);
    return true;
}

Window gf_snapshot(HWND hwnd) {
    Window copy;
    gf_withWindow(hwnd, [&](Window& window) { copy = window; });
    return copy;
}

void gf_notifyParent(HWND control, WORD code) {
    Window window = gf_snapshot(control);
    if (window.parent == nullptr) return;
    SendMessageW(window.parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(window.id), code),
                 reinterpret_cast<LPARAM>(control));
}

void gf_fillColour(HDC hdc, const RECT& rect, COLORREF color) {
    COLORREF previous = SetDCBrushColor(hdc, color);
    FillRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(hdc, previous);
}

void gf_frameColour(HDC hdc, const RECT& rect, COLORREF color) {
    gf_fillColour(hdc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, color);
    gf_fillColour(hdc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    gf_fillColour(hdc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    gf_fillColour(hdc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void gf_drawLabel(HDC hdc, int x, const RECT& client, const std::u16string& text, COLORREF color) {
    INT previousMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF previousColor = SetTextColor(hdc, color);
    int y = client.top + (client.bottom - client.top - gf_lineHeight()) / 2;
    TextOutW(hdc, x, y, text.c_str(), static_cast<INT>(text.size()));
    SetTextColor(hdc, previousColor);
    SetBkMode(hdc, previousMode);
}

void gf_paintControl(HWND hwnd, const std::function<void(HDC, const Window&, const RECT&)>& draw) {
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    if (hdc == nullptr) return;
    Window window = gf_snapshot(hwnd);
    RECT client{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
    draw(hdc, window, client);
    EndPaint(hwnd, &paint);
}

}  // namespace win32_internal

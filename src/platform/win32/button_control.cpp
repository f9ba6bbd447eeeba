// The "button" class: push buttons and plain check boxes. A click notifies the parent with
// BN_CLICKED; a BS_CHECKBOX does not change its own check mark.

#include "platform/win32/control_procs.h"
#include "platform/win32/control_support.h"
#include "platform/win32/gdi_internal.h"

using namespace win32_internal;

namespace {

bool lf_isCheckBox(DWORD style) {
    return (style & BS_TYPEMASK) == BS_CHECKBOX;
}

void lf_drawCheckBox(HDC hdc, const Window& window, const RECT& client) {
    COLORREF mark = window.enabled ? kMarkColour : kDisabledBorderColour;
    gf_fillColour(hdc, client, window.enabled ? 0xFFFFFF : 0xE6E6E6);
    gf_frameColour(hdc, client, mark);
    if (window.check != BST_CHECKED) return;
    // The tick: a short stroke down to the bottom third, a long one up to the right.
    int w = client.right;
    int h = client.bottom;
    for (int i = 0; i < 2; ++i) {
        for (int step = 0; step <= w / 4; ++step) {
            gf_fillColour(
                hdc, RECT{w / 4 + step - 1, h / 2 + step - 1 + i, w / 4 + step + 1, h / 2 + step + i}, mark);
        }
        for (int step = 0; step <= w / 2; ++step) {
            gf_fillColour(
                hdc, RECT{w / 2 + step - 1, h * 3 / 4 - step - 1 + i, w / 2 + step + 1, h * 3 / 4 - step + i},
                mark);
        }
    }
}

void lf_drawPushButton(HDC hdc, const Window& window, const RECT& client) {
    bool isDefault = (window.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    gf_fillColour(hdc, client, window.enabled ? kFaceColour : kDisabledFaceColour);
    COLORREF border = !window.enabled ? kDisabledBorderColour
                      : isDefault     ? kDefaultBorderColour
                                      : kBorderColour;
    gf_frameColour(hdc, client, border);
    int x = (client.right - gf_textWidth(window.text)) / 2;
    gf_drawLabel(hdc, x, client, window.text, window.enabled ? kTextColour : kGrayTextColour);
}

}  // namespace

namespace win32_internal {

LRESULT gf_buttonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONUP:
            if (IsWindowEnabled(hwnd)) gf_notifyParent(hwnd, BN_CLICKED);
            return 0;
        case BM_SETCHECK:
            gf_withWindow(hwnd, [&](Window& window) {
                if (!lf_isCheckBox(window.style)) return;
                window.check = static_cast<UINT>(wParam);
                gf_invalidateLocked(g_windowSystem(), window, nullptr, true);
            });
            return 0;
        case BM_GETCHECK:
            return static_cast<LRESULT>(gf_snapshot(hwnd).check);
        case WM_PAINT:
            gf_paintControl(hwnd, [](HDC hdc, const Window& window, const RECT& client) {
                if (lf_isCheckBox(window.style)) {
                    lf_drawCheckBox(hdc, window, client);
                } else {
                    lf_drawPushButton(hdc, window, client);
                }
            });
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace win32_internal

// The "Edit" class: a single-line field. Typed characters are appended and backspace deletes
// the last one (there is no caret, its place is the text's end); every change notifies EN_UPDATE
// then EN_CHANGE. As on Windows, without ES_AUTOHSCROLL a typed character that would not fit the
// field's width is refused; with it the text may be longer than the field, which shows its end.

#include <algorithm>

#include "platform/win32/control_procs.h"
#include "platform/win32/control_support.h"
#include "platform/win32/gdi32.h"
#include "platform/win32/gdi_internal.h"

using namespace win32_internal;

namespace {

// The default limit of text a user can type into an edit control.
constexpr std::size_t kTypingLimit = 32767;

bool lf_isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

// The text's margin on either side of the field.
constexpr int kMargin = 3;

int lf_textRoom(const Window& window) {
    return window.rect.right - window.rect.left - 2 * kMargin;
}

// Applies one typed character; true when the text changed.
bool lf_type(Window& window, char16_t typed) {
    std::u16string& text = window.text;
    if (typed == 8) {
        if (text.empty()) return false;
        bool pair = text.size() >= 2 && lf_isLowSurrogate(text.back());
        text.resize(text.size() - (pair ? 2 : 1));
        return true;
    }
    if (typed < 32 || typed == 127 || text.size() >= kTypingLimit) return false;
    text.push_back(typed);
    if (!(window.style & ES_AUTOHSCROLL) && gf_textWidth(text) > lf_textRoom(window)) {
        text.pop_back();
        return false;
    }
    return true;
}

void lf_notifyChange(HWND hwnd) {
    gf_notifyParent(hwnd, EN_UPDATE);
    gf_notifyParent(hwnd, EN_CHANGE);
}

void lf_drawEdit(HWND hwnd, HDC hdc, const Window& window, const RECT& client) {
    // The parent chooses the colours: WM_CTLCOLOREDIT, or WM_CTLCOLORSTATIC while disabled.
    UINT colourMessage = window.enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    LRESULT brush = window.parent == nullptr
                        ? 0
                        : SendMessageW(window.parent, colourMessage, reinterpret_cast<WPARAM>(hdc),
                                       reinterpret_cast<LPARAM>(hwnd));
    if (brush == 0) brush = DefWindowProcW(hwnd, colourMessage, reinterpret_cast<WPARAM>(hdc), 0);
    FillRect(hdc, &client, reinterpret_cast<HBRUSH>(brush));
    if (window.style & WS_BORDER)
        gf_frameColour(hdc, client, window.enabled ? 0x7A7A7A : kDisabledBorderColour);
    if (!window.enabled) SetTextColor(hdc, kGrayTextColour);
    int y = (client.bottom - gf_lineHeight()) / 2;
    // A text longer than the field is scrolled sideways so that its end shows.
    const int hidden = std::max(0, gf_textWidth(window.text) - lf_textRoom(window));
    TextOutW(hdc, kMargin - hidden, y, window.text.c_str(), static_cast<INT>(window.text.size()));
}

}  // namespace

namespace win32_internal {

LRESULT gf_editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: {
            bool changed = false;
            gf_withWindow(hwnd, [&](Window& window) {
                changed = lf_type(window, static_cast<char16_t>(wParam));
                if (changed) gf_invalidateLocked(g_windowSystem(), window, nullptr, true);
            });
            if (changed) lf_notifyChange(hwnd);
            return 0;
        }
        case WM_SETTEXT:
            DefWindowProcW(hwnd, message, wParam, lParam);
            lf_notifyChange(hwnd);
            return TRUE;
        case WM_PAINT:
            gf_paintControl(hwnd, [hwnd](HDC hdc, const Window& window, const RECT& client) {
                lf_drawEdit(hwnd, hdc, window, client);
            });
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace win32_internal

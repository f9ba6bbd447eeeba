// The "ComboBox" class as a drop-down list (CBS_DROPDOWNLIST): a list of texts with one
// selection. Only a user's choice notifies CBN_SELCHANGE; CB_SETCURSEL notifies nothing. Items
// stay in the order added (CBS_SORT is not supported: the program never uses it).

#include "platform/win32/control_procs.h"
#include "platform/win32/control_support.h"
#include "platform/win32/window_text.h"

using namespace win32_internal;

namespace {

// Case folding for the prefix search: ASCII and Latin-1 letters.
char16_t lf_fold(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}

bool lf_beginsWith(const std::u16string& item, std::u16string_view prefix) {
    if (prefix.size() > item.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lf_fold(item[i]) != lf_fold(prefix[i])) return false;
    }
    return true;
}

// CB_SELECTSTRING: search after `start` to the end, then from the top back to `start`.
LRESULT lf_selectString(Window& window, int start, LPCWSTR text) {
    if (text == nullptr || window.items.empty()) return CB_ERR;
    auto count = static_cast<int>(window.items.size());
    int first = start < 0 || start >= count ? 0 : start + 1;
    for (int n = 0; n < count; ++n) {
        int index = (first + n) % count;
        if (lf_beginsWith(window.items[static_cast<std::size_t>(index)], text)) {
            window.selection = index;
            return index;
        }
    }
    return CB_ERR;
}

LRESULT lf_setSelection(Window& window, WPARAM wParam) {
    auto index = static_cast<INT_PTR>(wParam);
    if (index < 0 || index >= static_cast<INT_PTR>(window.items.size())) {
        window.selection = -1;
        return CB_ERR;
    }
    window.selection = static_cast<int>(index);
    return window.selection;
}

std::u16string lf_selectedText(const Window& window) {
    if (window.selection < 0 || window.selection >= static_cast<int>(window.items.size())) return {};
    return window.items[static_cast<std::size_t>(window.selection)];
}

void lf_drawCombo(HDC hdc, const Window& window, const RECT& client) {
    gf_fillColour(hdc, client, window.enabled ? kFaceColour : kDisabledFaceColour);
    gf_frameColour(hdc, client, window.enabled ? kBorderColour : kDisabledBorderColour);
    COLORREF text = window.enabled ? kTextColour : kGrayTextColour;
    gf_drawLabel(hdc, 4, client, lf_selectedText(window), text);
    // The arrow: a small triangle pointing down near the right edge.
    int centreX = client.right - 9;
    int top = client.bottom / 2 - 2;
    for (int row = 0; row < 4; ++row) {
        gf_fillColour(hdc, RECT{centreX - 3 + row, top + row, centreX + 4 - row, top + row + 1}, text);
    }
}

// The combo box's messages that read or change its list; `handled` is false for the others.
LRESULT lf_listMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
    LRESULT result = CB_ERR;
    *handled = true;
    gf_withWindow(hwnd, [&](Window& window) {
        bool repaint = true;
        auto index = static_cast<INT_PTR>(wParam);
        bool valid = index >= 0 && index < static_cast<INT_PTR>(window.items.size());
        switch (message) {
            case CB_RESETCONTENT:
                window.items.clear();
                window.selection = -1;
                result = CB_OKAY;
                break;
            case CB_ADDSTRING:
                if (lParam == 0) break;
                window.items.emplace_back(reinterpret_cast<LPCWSTR>(lParam));
                result = static_cast<LRESULT>(window.items.size() - 1);
                break;
            case CB_SETCURSEL:
                result = lf_setSelection(window, wParam);
                break;
            case CB_SELECTSTRING:
                result = lf_selectString(window, static_cast<int>(index), reinterpret_cast<LPCWSTR>(lParam));
                break;
            case CB_GETCURSEL:
                repaint = false;
                result = window.selection;
                break;
            case CB_GETCOUNT:
                repaint = false;
                result = static_cast<LRESULT>(window.items.size());
                break;
            case CB_GETLBTEXTLEN:
                repaint = false;
                if (valid)
                    result = static_cast<LRESULT>(window.items[static_cast<std::size_t>(index)].size());
                break;
            case CB_GETLBTEXT: {
                // As in Win32 the buffer must hold the whole item (CB_GETLBTEXTLEN + 1).
                repaint = false;
                if (!valid || lParam == 0) break;
                const std::u16string& item = window.items[static_cast<std::size_t>(index)];
                result = gf_copyText(item, item.size() + 1, lParam);
                break;
            }
            default:
                *handled = false;
                repaint = false;
                break;
        }
        if (repaint) gf_invalidateLocked(g_windowSystem(), window, nullptr, true);
    });
    return result;
}

}  // namespace

namespace win32_internal {

LRESULT gf_comboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    LRESULT result = lf_listMessage(hwnd, message, wParam, lParam, &handled);
    if (handled) return result;
    switch (message) {
        case kChooseItemMessage: {
            bool chosen = false;
            gf_withWindow(hwnd, [&](Window& window) {
                auto index = static_cast<INT_PTR>(wParam);
                chosen = window.enabled && index >= 0 && index < static_cast<INT_PTR>(window.items.size());
                if (!chosen) return;
                window.selection = static_cast<int>(index);
                gf_invalidateLocked(g_windowSystem(), window, nullptr, true);
            });
            if (chosen) gf_notifyParent(hwnd, CBN_SELCHANGE);
            return 0;
        }
        case WM_SETTEXT:
            // A drop-down list has no edit field: the text cannot be set and nothing changes.
            return CB_ERR;
        case WM_GETTEXT:
            return gf_copyText(lf_selectedText(gf_snapshot(hwnd)), wParam, lParam);
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(lf_selectedText(gf_snapshot(hwnd)).size());
        case WM_PAINT:
            gf_paintControl(hwnd, lf_drawCombo);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace win32_internal

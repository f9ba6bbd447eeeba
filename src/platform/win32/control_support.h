#pragma once
// Internal: what the built-in controls share: reading and changing their state, notifying the
// parent, and the few drawing steps of their simple look.

#include "platform/win32/window_registry.h"

#include <functional>
#include <string>

namespace win32_internal {

// Runs `change` on the live window under the mutex; false for a stale handle.
bool gf_withWindow(HWND hwnd, const std::function<void(Window&)>& change);
// A copy of the window's state (a default Window for a stale handle).
Window gf_snapshot(HWND hwnd);
// Sends WM_COMMAND with the control's id and a notification code to its parent.
void gf_notifyParent(HWND control, WORD code);

// Colours of the controls' look (COLORREF).
inline constexpr COLORREF kFaceColour = 0xE1E1E1;
inline constexpr COLORREF kDisabledFaceColour = 0xCCCCCC;
inline constexpr COLORREF kBorderColour = 0xADADAD;
inline constexpr COLORREF kDefaultBorderColour = 0xD77800;
inline constexpr COLORREF kDisabledBorderColour = 0xBFBFBF;
inline constexpr COLORREF kTextColour = 0x000000;
inline constexpr COLORREF kGrayTextColour = 0x6D6D6D;
inline constexpr COLORREF kMarkColour = 0x333333;

void gf_fillColour(HDC hdc, const RECT& rect, COLORREF color);
void gf_frameColour(HDC hdc, const RECT& rect, COLORREF color);
// Draws a text in the given colour with a transparent background, vertically centred.
void gf_drawLabel(HDC hdc, int x, const RECT& client, const std::u16string& text, COLORREF color);
// Draws a control's look inside BeginPaint/EndPaint.
void gf_paintControl(HWND hwnd, const std::function<void(HDC, const Window&, const RECT&)>& draw);

}  // namespace win32_internal

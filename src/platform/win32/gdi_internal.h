#pragma once
// Internal: what the window system needs of GDI: window surfaces and their pixels.

#include "platform/win32/win32_types.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace win32_internal {

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> data;  // row by row
};

// Makes sure `surface` is a bitmap of the given size (a new one is black) and returns a DC on it.
HDC gf_createSurfaceDc(HBITMAP& surface, int width, int height);
void gf_deleteSurface(HBITMAP surface);
// A copy of a bitmap's pixels (empty for a stale handle).
Pixels gf_copyPixels(HBITMAP bitmap);
// One pixel of a bitmap; CLR_INVALID outside it or for a stale handle.
COLORREF gf_bitmapPixel(HBITMAP bitmap, int x, int y);
// The size of the default GUI font's line and the width of a text in it.
int gf_lineHeight();
int gf_textWidth(std::u16string_view text);

}  // namespace win32_internal

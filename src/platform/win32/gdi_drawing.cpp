// GDI drawing into the bitmap selected in a DC: rectangles, lines, text and copies. Each call
// is also recorded in the display list of the paint in progress.

#include "platform/win32/gdi_objects.h"
#include "platform/win32/paint_recording.h"
#include "platform/win32/text_rasterizer.h"

#include <algorithm>
#include <cstdlib>

using namespace win32_internal;

namespace {

void lf_setPixel(GdiBitmap& bitmap, int x, int y, COLORREF color) {
    if (x < 0 || y < 0 || x >= bitmap.width || y >= bitmap.height) return;
    bitmap.data[static_cast<std::size_t>(y) * bitmap.width + x] = color;
}

void lf_fill(GdiBitmap& bitmap, const RECT& rect, COLORREF color) {
    int left = std::max<int>(rect.left, 0);
    int right = std::min<int>(rect.right, bitmap.width);
    int top = std::max<int>(rect.top, 0);
    int bottom = std::min<int>(rect.bottom, bitmap.height);
    for (int y = top; y < bottom; ++y) {
        std::fill_n(bitmap.data.begin() + static_cast<std::ptrdiff_t>(y) * bitmap.width + left,
                    std::max(0, right - left), color);
    }
}

// Bresenham's line without its end point, as Win32 draws it.
void lf_line(GdiBitmap& bitmap, POINT from, POINT to, COLORREF color) {
    int dx = std::abs(to.x - from.x);
    int dy = -std::abs(to.y - from.y);
    int stepX = from.x < to.x ? 1 : -1;
    int stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    int x = from.x;
    int y = from.y;
    while (x != to.x || y != to.y) {
        lf_setPixel(bitmap, x, y, color);
        int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

standin::PaintOp lf_op(standin::PaintOpKind kind, HDC hdc) {
    standin::PaintOp op;
    op.kind = kind;
    op.dc = hdc;
    return op;
}

}  // namespace

INT FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    if (rect == nullptr) return 0;
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    COLORREF color = 0;
    if (dc == nullptr || !gf_brushColor(gdi, *dc, brush, &color)) return 0;
    if (GdiBitmap* bitmap = gf_findBitmap(gdi, dc->state.bitmap)) lf_fill(*bitmap, *rect, color);
    standin::PaintOp op = lf_op(standin::PaintOpKind::FillRect, hdc);
    op.rect = *rect;
    op.color = color;
    gf_record(std::move(op));
    return 1;
}

BOOL MoveToEx(HDC hdc, INT x, INT y, POINT* previous) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    if (dc == nullptr) return FALSE;
    if (previous != nullptr) *previous = dc->state.position;
    dc->state.position = POINT{x, y};
    standin::PaintOp op = lf_op(standin::PaintOpKind::MoveTo, hdc);
    op.point = POINT{x, y};
    gf_record(std::move(op));
    return TRUE;
}

BOOL LineTo(HDC hdc, INT x, INT y) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    if (dc == nullptr) return FALSE;
    POINT from = dc->state.position;
    dc->state.position = POINT{x, y};
    COLORREF color = 0;
    if (!gf_penColor(gdi, *dc, &color)) return TRUE;  // a null pen draws nothing
    if (GdiBitmap* bitmap = gf_findBitmap(gdi, dc->state.bitmap)) lf_line(*bitmap, from, POINT{x, y}, color);
    standin::PaintOp op = lf_op(standin::PaintOpKind::LineTo, hdc);
    op.rect = RECT{from.x, from.y, x, y};
    op.color = color;
    gf_record(std::move(op));
    return TRUE;
}

BOOL TextOutW(HDC hdc, INT x, INT y, LPCWSTR text, INT length) {
    if (length < 0 || (text == nullptr && length > 0)) return FALSE;
    std::u16string_view view(text == nullptr ? u"" : text, static_cast<std::size_t>(length));
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    if (dc == nullptr) return FALSE;
    bool opaque = dc->state.bkMode == OPAQUE;
    if (GdiBitmap* bitmap = gf_findBitmap(gdi, dc->state.bitmap)) {
        if (opaque)
            lf_fill(*bitmap, RECT{x, y, x + gf_textWidth(view), y + gf_lineHeight()}, dc->state.bkColor);
        gf_drawText(*bitmap, x, y, view, dc->state.textColor);
    }
    standin::PaintOp op = lf_op(standin::PaintOpKind::TextOut, hdc);
    op.point = POINT{x, y};
    op.color = dc->state.textColor;
    op.text = std::u16string(view);
    op.opaque = opaque;
    op.background = dc->state.bkColor;
    gf_record(std::move(op));
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, INT length, SIZE* size) {
    if (length < 0 || size == nullptr || (text == nullptr && length > 0)) return FALSE;
    {
        GdiRegistry& gdi = g_gdi();
        std::lock_guard lock(gdi.mutex);
        if (gf_findDc(gdi, hdc) == nullptr) return FALSE;
    }
    const std::u16string_view view(text == nullptr ? u"" : text, static_cast<std::size_t>(length));
    *size = SIZE{gf_textWidth(view), gf_lineHeight()};
    return TRUE;
}

BOOL BitBlt(HDC target, INT x, INT y, INT width, INT height, HDC source, INT sourceX, INT sourceY,
            DWORD rop) {
    if (rop != SRCCOPY) return FALSE;  // the only raster operation the program uses
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* targetDc = gf_findDc(gdi, target);
    DeviceContext* sourceDc = gf_findDc(gdi, source);
    if (targetDc == nullptr || sourceDc == nullptr) return FALSE;
    GdiBitmap* to = gf_findBitmap(gdi, targetDc->state.bitmap);
    GdiBitmap* from = gf_findBitmap(gdi, sourceDc->state.bitmap);
    if (to != nullptr && from != nullptr) {
        GdiBitmap copy = *from;  // source and target may be the same bitmap
        for (int row = 0; row < height; ++row) {
            int sy = sourceY + row;
            if (sy < 0 || sy >= copy.height) continue;
            for (int col = 0; col < width; ++col) {
                int sx = sourceX + col;
                if (sx < 0 || sx >= copy.width) continue;
                lf_setPixel(*to, x + col, y + row, copy.data[static_cast<std::size_t>(sy) * copy.width + sx]);
            }
        }
    }
    standin::PaintOp op = lf_op(standin::PaintOpKind::BitBlt, target);
    op.rect = RECT{x, y, x + width, y + height};
    gf_record(std::move(op));
    return TRUE;
}

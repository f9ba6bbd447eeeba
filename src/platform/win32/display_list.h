#pragma once
// The record of one drawing call made during a paint. Tests assert on these instead of pixels.

#include "platform/win32/win32_types.h"

#include <string>

namespace standin {

enum class PaintOpKind { FillRect, MoveTo, LineTo, TextOut, BitBlt };

struct PaintOp {
    PaintOpKind kind = PaintOpKind::FillRect;
    HDC dc = nullptr;
    RECT rect{};          // FillRect: the area; LineTo: from (left, top) to (right, bottom); BitBlt: target
    POINT point{};        // MoveTo and TextOut: the position
    COLORREF color = 0;   // brush, pen or text colour
    std::u16string text;  // TextOut only
    bool opaque = false;  // TextOut: the text cell was filled with the background colour
    COLORREF background = 0;
};

}  // namespace standin

#pragma once
// Internal: text in the default GUI font (DejaVu Sans through FreeType). Without the font file
// each character is drawn as a box of a fixed cell, so nothing depends on fonts being installed.

#include "platform/win32/gdi_internal.h"

#include <filesystem>
#include <string_view>

namespace win32_internal {

// Draws the text with the top-left of its cell at (x, y), blended in the given colour.
void gf_drawText(Pixels& target, int x, int y, std::u16string_view text, COLORREF color);
// Uses another font file from now on (an empty or missing path gives the box cells).
void gf_setFontFile(const std::filesystem::path& file);

}  // namespace win32_internal

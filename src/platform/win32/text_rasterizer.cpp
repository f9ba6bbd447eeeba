#include "platform/win32/text_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <mutex>
#include <vector>

using namespace win32_internal;

namespace {

constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kPixelSize = 12;
// The box cell used without a font.
constexpr int kBoxWidth = 7;
constexpr int kBoxHeight = 14;

struct FontState {
    std::mutex mutex;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    bool loaded = false;
    std::filesystem::path file = kDefaultFont;
};

FontState& lf_font() {
    static auto* state = new FontState();  // never destroyed: painting may run during exit
    return *state;
}

// With the font mutex held: the face, loaded on first use; null without a usable font.
FT_Face lf_face(FontState& font) {
    if (font.loaded) return font.face;
    font.loaded = true;
    if (font.library == nullptr && FT_Init_FreeType(&font.library) != 0) return nullptr;
    if (font.file.empty() || FT_New_Face(font.library, font.file.c_str(), 0, &font.face) != 0) {
        font.face = nullptr;
        return nullptr;
    }
    FT_Set_Pixel_Sizes(font.face, 0, kPixelSize);
    return font.face;
}

std::vector<char32_t> lf_codePoints(std::u16string_view text) {
    std::vector<char32_t> points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            points.push_back(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            points.push_back(unit);
        }
    }
    return points;
}

COLORREF lf_blend(COLORREF under, COLORREF over, int alpha) {
    auto channel = [&](int shift) {
        int a = static_cast<int>((under >> shift) & 0xFF);
        int b = static_cast<int>((over >> shift) & 0xFF);
        return static_cast<COLORREF>((a * (255 - alpha) + b * alpha + 127) / 255) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void lf_plot(Pixels& target, int x, int y, COLORREF color, int alpha) {
    if (x < 0 || y < 0 || x >= target.width || y >= target.height || alpha <= 0) return;
    COLORREF& pixel = target.data[static_cast<std::size_t>(y) * target.width + x];
    pixel = lf_blend(pixel, color, alpha);
}

void lf_drawBox(Pixels& target, int x, int y, COLORREF color) {
    for (int i = 1; i < kBoxWidth - 1; ++i) {
        lf_plot(target, x + i, y + 2, color, 255);
        lf_plot(target, x + i, y + kBoxHeight - 3, color, 255);
    }
    for (int j = 2; j < kBoxHeight - 2; ++j) {
        lf_plot(target, x + 1, y + j, color, 255);
        lf_plot(target, x + kBoxWidth - 2, y + j, color, 255);
    }
}

// Draws one glyph with its pen position at (x, baseline); returns the advance.
int lf_drawGlyph(FT_Face face, Pixels* target, int x, int baseline, char32_t point, COLORREF color) {
    if (FT_Load_Char(face, point, target != nullptr ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0) return 0;
    FT_GlyphSlot glyph = face->glyph;
    if (target != nullptr) {
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int alpha = bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(col)];
                lf_plot(*target, x + glyph->bitmap_left + static_cast<int>(col),
                        baseline - glyph->bitmap_top + static_cast<int>(row), color, alpha);
            }
        }
    }
    return static_cast<int>(glyph->advance.x >> 6);
}

// Lays the text out; draws it when a target is given. Returns the width.
int lf_layout(Pixels* target, int x, int y, std::u16string_view text, COLORREF color) {
    FontState& font = lf_font();
    std::lock_guard lock(font.mutex);
    FT_Face face = lf_face(font);
    int pen = x;
    for (char32_t point : lf_codePoints(text)) {
        if (face == nullptr) {
            if (target != nullptr) lf_drawBox(*target, pen, y, color);
            pen += kBoxWidth;
        } else {
            pen += lf_drawGlyph(face, target, pen, y + static_cast<int>(face->size->metrics.ascender >> 6),
                                point, color);
        }
    }
    return pen - x;
}

}  // namespace

namespace win32_internal {

void gf_drawText(Pixels& target, int x, int y, std::u16string_view text, COLORREF color) {
    lf_layout(&target, x, y, text, color);
}

int gf_textWidth(std::u16string_view text) {
    return lf_layout(nullptr, 0, 0, text, 0);
}

int gf_lineHeight() {
    FontState& font = lf_font();
    std::lock_guard lock(font.mutex);
    FT_Face face = lf_face(font);
    if (face == nullptr) return kBoxHeight;
    return static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
}

void gf_setFontFile(const std::filesystem::path& file) {
    FontState& font = lf_font();
    std::lock_guard lock(font.mutex);
    if (font.face != nullptr) FT_Done_Face(font.face);
    font.face = nullptr;
    font.loaded = false;
    font.file = file;
}

}  // namespace win32_internal

// Screenshots as PNG files through libpng's simplified interface.

#include "platform/win32/standin.h"

#include <png.h>

#include <cstring>

namespace standin {

bool savePng(HWND window, const std::filesystem::path& file) {
    std::optional<Image> image = renderWindow(window);
    if (!image || image->width <= 0 || image->height <= 0) return false;
    std::vector<png_byte> rgb;
    rgb.reserve(image->pixels.size() * 3);
    for (COLORREF pixel : image->pixels) {
        rgb.push_back(GetRValue(pixel));
        rgb.push_back(GetGValue(pixel));
        rgb.push_back(GetBValue(pixel));
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image->width);
    png.height = static_cast<png_uint_32>(image->height);
    png.format = PNG_FORMAT_RGB;
    int ok = png_image_write_to_file(&png, file.c_str(), 0, rgb.data(), 0, nullptr);
    png_image_free(&png);
    return ok != 0;
}

std::optional<Image> readPng(const std::filesystem::path& file) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, file.c_str()) == 0) return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
    if (png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr) == 0) {
        png_image_free(&png);
        return std::nullopt;
    }
    Image image;
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        image.pixels.push_back(RGB(rgb[i], rgb[i + 1], rgb[i + 2]));
    return image;
}

}  // namespace standin

// Reading what windows painted: display lists, pixels and composed images.

#include "platform/win32/gdi32.h"
#include "platform/win32/gdi_internal.h"
#include "platform/win32/standin.h"
#include "platform/win32/text_rasterizer.h"
#include "platform/win32/window_registry.h"

using namespace win32_internal;

namespace {

struct Layer {
    HBITMAP surface = nullptr;
    RECT rect{};  // in the parent's client area
    std::vector<Layer> children;
};

// With the mutex held: the window and its visible descendants, in creation order.
Layer lf_layers(WindowSystem& system, const Window& window) {
    Layer layer{window.surface, window.rect, {}};
    for (auto& [key, child] : system.windows) {
        if (child.parent == window.handle && child.visible)
            layer.children.push_back(lf_layers(system, child));
    }
    return layer;
}

std::vector<HWND> lf_tree(HWND root) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    std::vector<HWND> tree{root};
    for (std::size_t i = 0; i < tree.size(); ++i) {
        for (auto& [key, window] : system.windows) {
            if (window.parent == tree[i]) tree.push_back(window.handle);
        }
    }
    return tree;
}

// Draws a layer's pixels (and its children's, clipped to it) into the image at an offset.
void lf_compose(const Layer& layer, standin::Image& image, int offsetX, int offsetY, const RECT& clip) {
    Pixels pixels = gf_copyPixels(layer.surface);
    for (int y = 0; y < pixels.height; ++y) {
        int iy = offsetY + y;
        if (iy < clip.top || iy >= clip.bottom) continue;
        for (int x = 0; x < pixels.width; ++x) {
            int ix = offsetX + x;
            if (ix < clip.left || ix >= clip.right) continue;
            image.pixels[static_cast<std::size_t>(iy) * image.width + ix] =
                pixels.data[static_cast<std::size_t>(y) * pixels.width + x];
        }
    }
    RECT inner{std::max<LONG>(clip.left, offsetX), std::max<LONG>(clip.top, offsetY),
               std::min<LONG>(clip.right, offsetX + pixels.width),
               std::min<LONG>(clip.bottom, offsetY + pixels.height)};
    for (const Layer& child : layer.children) {
        lf_compose(child, image, offsetX + child.rect.left, offsetY + child.rect.top, inner);
    }
}

}  // namespace

namespace standin {

std::vector<PaintOp> paintOps(HWND window) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* found = gf_findWindow(system, window);
    return found == nullptr ? std::vector<PaintOp>{} : found->lastPaint;
}

std::uint64_t paintCount(HWND window) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* found = gf_findWindow(system, window);
    return found == nullptr ? 0 : found->paintCount;
}

COLORREF pixel(HWND window, int x, int y) {
    HBITMAP surface = nullptr;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* found = gf_findWindow(system, window);
        if (found == nullptr) return CLR_INVALID;
        surface = found->surface;
    }
    return gf_bitmapPixel(surface, x, y);
}

std::optional<Image> renderWindow(HWND window) {
    std::vector<HWND> tree = lf_tree(window);
    for (HWND hwnd : tree)
        InvalidateRect(hwnd, nullptr, TRUE);
    // UpdateWindow sends WM_PAINT, so from another thread this waits for the window's thread.
    for (HWND hwnd : tree)
        UpdateWindow(hwnd);
    Layer root;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* found = gf_findWindow(system, window);
        if (found == nullptr) return std::nullopt;
        root = lf_layers(system, *found);
    }
    Image image;
    image.width = root.rect.right - root.rect.left;
    image.height = root.rect.bottom - root.rect.top;
    image.pixels.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    lf_compose(root, image, 0, 0, RECT{0, 0, image.width, image.height});
    return image;
}

void setFontFile(const std::filesystem::path& file) {
    gf_setFontFile(file);
}

}  // namespace standin

// GDI objects and device contexts: brushes, pens, bitmaps, stock objects, selection and state.

#include "platform/win32/gdi_objects.h"

#include <utility>

using namespace win32_internal;

namespace {

// The stock objects sit at fixed handle values below the first allocated one.
constexpr std::uintptr_t kStockBase = 0x100;

HGDIOBJ lf_toHandle(std::uintptr_t value) {
    return reinterpret_cast<HGDIOBJ>(value);
}
std::uintptr_t lf_value(const void* handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

bool lf_isStock(std::uintptr_t value) {
    return value >= kStockBase && value < kStockBase + 32;
}

void lf_addStockObjects(GdiRegistry& gdi) {
    gdi.objects[kStockBase + WHITE_BRUSH] = GdiBrush{0xFFFFFF, false, false};
    gdi.objects[kStockBase + BLACK_BRUSH] = GdiBrush{0x000000, false, false};
    gdi.objects[kStockBase + NULL_BRUSH] = GdiBrush{0, true, false};
    gdi.objects[kStockBase + WHITE_PEN] = GdiPen{PS_SOLID, 1, 0xFFFFFF, false};
    gdi.objects[kStockBase + BLACK_PEN] = GdiPen{PS_SOLID, 1, 0x000000, false};
    gdi.objects[kStockBase + DC_BRUSH] = GdiBrush{0, false, true};
    gdi.objects[kStockBase + DC_PEN] = GdiPen{PS_SOLID, 1, 0, true};
    // A memory DC starts with a 1 x 1 bitmap selected, as in Win32.
    gdi.objects[kStockBase + 31] = GdiBitmap{1, 1, {0}};
}

HBITMAP lf_defaultBitmap() {
    return static_cast<HBITMAP>(lf_toHandle(kStockBase + 31));
}

HDC lf_newDc(GdiRegistry& gdi, HBITMAP bitmap) {
    DeviceContext dc;
    dc.state.bitmap = bitmap;
    dc.state.brush = static_cast<HBRUSH>(lf_toHandle(kStockBase + WHITE_BRUSH));
    dc.state.pen = static_cast<HPEN>(lf_toHandle(kStockBase + BLACK_PEN));
    std::uintptr_t value = gdi.nextHandle;
    gdi.nextHandle += 4;
    gdi.dcs.emplace(value, std::move(dc));
    return reinterpret_cast<HDC>(value);
}

template <typename T>
T* lf_find(GdiRegistry& gdi, const void* handle) {
    auto found = gdi.objects.find(lf_value(handle));
    return found == gdi.objects.end() ? nullptr : std::get_if<T>(&found->second);
}

}  // namespace

namespace win32_internal {

GdiRegistry& g_gdi() {
    static GdiRegistry* gdi = [] {
        auto* registry = new GdiRegistry();  // never destroyed: see the header
        lf_addStockObjects(*registry);
        return registry;
    }();
    return *gdi;
}

DeviceContext* gf_findDc(GdiRegistry& gdi, HDC hdc) {
    auto found = gdi.dcs.find(lf_value(hdc));
    return found == gdi.dcs.end() ? nullptr : &found->second;
}

GdiBitmap* gf_findBitmap(GdiRegistry& gdi, HBITMAP bitmap) {
    return lf_find<GdiBitmap>(gdi, bitmap);
}

bool gf_brushColor(GdiRegistry& gdi, const DeviceContext& dc, HBRUSH brush, COLORREF* color) {
    const GdiBrush* found = lf_find<GdiBrush>(gdi, brush);
    if (found == nullptr || found->hollow) return false;
    *color = found->followsDc ? dc.state.dcBrushColor : found->color;
    return true;
}

bool gf_penColor(GdiRegistry& gdi, const DeviceContext& dc, COLORREF* color) {
    const GdiPen* found = lf_find<GdiPen>(gdi, dc.state.pen);
    if (found == nullptr || found->style == PS_NULL) return false;
    *color = found->followsDc ? dc.state.dcPenColor : found->color;
    return true;
}

std::uintptr_t gf_addObject(GdiRegistry& gdi, GdiObject object) {
    std::uintptr_t value = gdi.nextHandle;
    gdi.nextHandle += 4;
    gdi.objects.emplace(value, std::move(object));
    return value;
}

HDC gf_createSurfaceDc(HBITMAP& surface, int width, int height) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    GdiBitmap* bitmap = gf_findBitmap(gdi, surface);
    if (bitmap == nullptr || bitmap->width != width || bitmap->height != height) {
        if (bitmap != nullptr) gdi.objects.erase(lf_value(surface));
        GdiBitmap fresh{width, height, std::vector<COLORREF>(static_cast<std::size_t>(width) * height, 0)};
        surface = reinterpret_cast<HBITMAP>(gf_addObject(gdi, std::move(fresh)));
    }
    return lf_newDc(gdi, surface);
}

void gf_deleteSurface(HBITMAP surface) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    if (gf_findBitmap(gdi, surface) != nullptr) gdi.objects.erase(lf_value(surface));
}

Pixels gf_copyPixels(HBITMAP bitmap) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    GdiBitmap* found = gf_findBitmap(gdi, bitmap);
    return found == nullptr ? Pixels{} : *found;
}

COLORREF gf_bitmapPixel(HBITMAP bitmap, int x, int y) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    GdiBitmap* found = gf_findBitmap(gdi, bitmap);
    if (found == nullptr || x < 0 || y < 0 || x >= found->width || y >= found->height) return CLR_INVALID;
    return found->data[static_cast<std::size_t>(y) * found->width + x];
}

}  // namespace win32_internal

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    return reinterpret_cast<HBRUSH>(gf_addObject(gdi, GdiBrush{color & 0xFFFFFF, false, false}));
}

HPEN CreatePen(INT style, INT width, COLORREF color) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    return reinterpret_cast<HPEN>(
        gf_addObject(gdi, GdiPen{style, width < 1 ? 1 : width, color & 0xFFFFFF, false}));
}

HGDIOBJ GetStockObject(INT object) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    std::uintptr_t value = kStockBase + static_cast<std::uintptr_t>(object);
    if (object < 0 || object >= 31 || gdi.objects.count(value) == 0) return nullptr;
    return lf_toHandle(value);
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    std::uintptr_t value = lf_value(object);
    if (lf_isStock(value)) return TRUE;  // deleting a stock object is allowed and does nothing
    return gdi.objects.erase(value) == 1 ? TRUE : FALSE;
}

HDC CreateCompatibleDC(HDC) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    return lf_newDc(gdi, lf_defaultBitmap());
}

HBITMAP CreateCompatibleBitmap(HDC, INT width, INT height) {
    if (width <= 0 || height <= 0) return nullptr;
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    // A new bitmap is black: its content is undefined in Win32, so we choose.
    GdiBitmap bitmap{width, height, std::vector<COLORREF>(static_cast<std::size_t>(width) * height, 0)};
    return reinterpret_cast<HBITMAP>(gf_addObject(gdi, std::move(bitmap)));
}

BOOL DeleteDC(HDC hdc) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    return gdi.dcs.erase(lf_value(hdc)) == 1 ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    auto found = gdi.objects.find(lf_value(object));
    if (dc == nullptr || found == gdi.objects.end()) return nullptr;
    HGDIOBJ previous = nullptr;
    if (std::holds_alternative<GdiBrush>(found->second)) {
        previous = std::exchange(dc->state.brush, static_cast<HBRUSH>(object));
    } else if (std::holds_alternative<GdiPen>(found->second)) {
        previous = std::exchange(dc->state.pen, static_cast<HPEN>(object));
    } else {
        previous = std::exchange(dc->state.bitmap, static_cast<HBITMAP>(object));
    }
    return previous;
}

INT SaveDC(HDC hdc) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    if (dc == nullptr) return 0;
    dc->saved.push_back(dc->state);
    return static_cast<INT>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, INT savedState) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    if (dc == nullptr || savedState == 0) return FALSE;
    // A negative value counts back from the latest save; a positive one names the save.
    auto depth = static_cast<INT>(dc->saved.size());
    INT level = savedState < 0 ? depth + 1 + savedState : savedState;
    if (level < 1 || level > depth) return FALSE;
    dc->state = dc->saved[static_cast<std::size_t>(level - 1)];
    dc->saved.resize(static_cast<std::size_t>(level - 1));
    return TRUE;
}

INT SetBkMode(HDC hdc, INT mode) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    if (dc == nullptr || (mode != OPAQUE && mode != TRANSPARENT)) return 0;
    return std::exchange(dc->state.bkMode, mode);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    return dc == nullptr ? CLR_INVALID : std::exchange(dc->state.bkColor, color & 0xFFFFFF);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    return dc == nullptr ? CLR_INVALID : std::exchange(dc->state.textColor, color & 0xFFFFFF);
}

COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
    GdiRegistry& gdi = g_gdi();
    std::lock_guard lock(gdi.mutex);
    DeviceContext* dc = gf_findDc(gdi, hdc);
    return dc == nullptr ? CLR_INVALID : std::exchange(dc->state.dcBrushColor, color & 0xFFFFFF);
}

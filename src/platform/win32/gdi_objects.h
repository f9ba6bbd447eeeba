#pragma once
// Internal: the GDI object and device-context registry. One mutex guards it; it is never held
// while the window system's mutex is taken.

#include "platform/win32/gdi32.h"
#include "platform/win32/gdi_internal.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <variant>
#include <vector>

namespace win32_internal {

struct GdiBrush {
    COLORREF color = 0;
    bool hollow = false;
    bool followsDc = false;  // DC_BRUSH: the DC's brush colour
};

struct GdiPen {
    INT style = PS_SOLID;
    INT width = 1;
    COLORREF color = 0;
    bool followsDc = false;  // DC_PEN
};

using GdiBitmap = Pixels;

using GdiObject = std::variant<GdiBrush, GdiPen, GdiBitmap>;

struct DcState {
    HBITMAP bitmap = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    INT bkMode = OPAQUE;
    POINT position{0, 0};
    COLORREF dcBrushColor = 0xFFFFFF;
    COLORREF dcPenColor = 0x000000;
};

struct DeviceContext {
    DcState state;
    std::vector<DcState> saved;
};

struct GdiRegistry {
    std::mutex mutex;
    std::map<std::uintptr_t, GdiObject> objects;
    std::map<std::uintptr_t, DeviceContext> dcs;
    std::uintptr_t nextHandle = 0x1000;
};

// Built on first use and never destroyed: brushes and pens are made by static initialisers.
GdiRegistry& g_gdi();

// With the mutex held: lookups that give null for a stale handle or one of another kind.
DeviceContext* gf_findDc(GdiRegistry& gdi, HDC hdc);
GdiBitmap* gf_findBitmap(GdiRegistry& gdi, HBITMAP bitmap);
// The colour a brush paints with in this DC; nothing for a hollow or stale brush.
bool gf_brushColor(GdiRegistry& gdi, const DeviceContext& dc, HBRUSH brush, COLORREF* color);
bool gf_penColor(GdiRegistry& gdi, const DeviceContext& dc, COLORREF* color);
std::uintptr_t gf_addObject(GdiRegistry& gdi, GdiObject object);

}  // namespace win32_internal

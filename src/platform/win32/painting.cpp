// Invalid areas, WM_PAINT and the paint DC.

#include "platform/win32/gdi32.h"
#include "platform/win32/gdi_internal.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/paint_recording.h"
#include "platform/win32/window_registry.h"

#include <algorithm>

using namespace win32_internal;

namespace {

RECT lf_clientRect(const Window& window) {
    return RECT{0, 0, window.rect.right - window.rect.left, window.rect.bottom - window.rect.top};
}

RECT lf_intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool lf_isEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

RECT lf_union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

namespace win32_internal {

void gf_invalidateLocked(WindowSystem& system, Window& window, const RECT* rect, bool erase) {
    RECT client = lf_clientRect(window);
    RECT area = rect == nullptr ? client : lf_intersect(*rect, client);
    if (lf_isEmpty(area)) return;
    window.invalidRect = window.invalid ? lf_union(window.invalidRect, area) : area;
    window.invalid = true;
    window.eraseNeeded = window.eraseNeeded || erase;
    if (auto queue = gf_queueOf(system, window.owner)) queue->wake.notify_all();
}

}  // namespace win32_internal

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return FALSE;
    gf_invalidateLocked(system, *window, rect, erase != FALSE);
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* window = gf_findWindow(system, hwnd);
        if (window == nullptr) return FALSE;
        if (!window->invalid || !window->visible) return TRUE;
    }
    SendMessageW(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    if (paint == nullptr) return nullptr;
    *paint = PAINTSTRUCT{};
    bool erase = false;
    {
        WindowSystem& system = g_windowSystem();
        std::lock_guard lock(system.mutex);
        Window* window = gf_findWindow(system, hwnd);
        if (window == nullptr || window->owner != std::this_thread::get_id()) return nullptr;
        RECT client = lf_clientRect(*window);
        paint->rcPaint = window->invalid ? window->invalidRect : RECT{};
        erase = window->invalid && window->eraseNeeded;
        window->invalid = false;
        window->eraseNeeded = false;
        paint->hdc = gf_createSurfaceDc(window->surface, client.right, client.bottom);
    }
    gf_beginRecording();
    if (erase)
        paint->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    std::vector<standin::PaintOp> ops = gf_endRecording();
    DeleteDC(paint->hdc);
    WindowSystem& system = g_windowSystem();
    std::lock_guard lock(system.mutex);
    Window* window = gf_findWindow(system, hwnd);
    if (window == nullptr) return FALSE;
    window->lastPaint = std::move(ops);
    ++window->paintCount;
    return TRUE;
}

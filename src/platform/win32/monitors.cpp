// The monitors: a configurable layout, one 1920 x 1080 monitor by default.

#include "platform/win32/monitor_layout.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>

using namespace win32_internal;

namespace {

struct MonitorState {
    std::mutex mutex;
    std::vector<MonitorEntry> monitors;
    std::uintptr_t generation = 1;  // part of each handle, so handles of an old layout fail
};

std::vector<MonitorEntry> lf_defaultLayout() {
    RECT screen{0, 0, 1920, 1080};
    return {MonitorEntry{screen, screen}};
}

MonitorState& lf_state() {
    static auto* state = new MonitorState{{}, lf_defaultLayout(), 1};  // never destroyed
    return *state;
}

HMONITOR lf_handle(std::uintptr_t generation, std::size_t index) {
    return reinterpret_cast<HMONITOR>((generation << 8) | (index + 1));
}

std::int64_t lf_overlapArea(const RECT& a, const RECT& b) {
    std::int64_t width = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
    std::int64_t height = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// The gap between two rectangles along one axis (0 when they overlap or touch).
std::int64_t lf_gap(LONG aLow, LONG aHigh, LONG bLow, LONG bHigh) {
    if (aHigh < bLow) return std::int64_t{bLow} - aHigh;
    if (bHigh < aLow) return std::int64_t{aLow} - bHigh;
    return 0;
}

std::int64_t lf_distanceSquared(const RECT& a, const RECT& b) {
    std::int64_t dx = lf_gap(a.left, a.right, b.left, b.right);
    std::int64_t dy = lf_gap(a.top, a.bottom, b.top, b.bottom);
    return dx * dx + dy * dy;
}

// The monitor with the largest overlap; without any, the nearest one (distance 0: touching).
std::size_t lf_bestMonitor(const std::vector<MonitorEntry>& monitors, const RECT& rect, bool* touching) {
    std::size_t best = 0;
    std::int64_t bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        std::int64_t area = lf_overlapArea(rect, monitors[i].monitor);
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    if (bestArea > 0) {
        *touching = true;
        return best;
    }
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        std::int64_t distance = lf_distanceSquared(rect, monitors[i].monitor);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    *touching = bestDistance == 0;
    return best;
}

}  // namespace

namespace win32_internal {

std::vector<MonitorEntry> gf_monitors() {
    MonitorState& state = lf_state();
    std::lock_guard lock(state.mutex);
    return state.monitors;
}

RECT gf_nearestWorkArea(const RECT& rect) {
    std::vector<MonitorEntry> monitors = gf_monitors();
    bool touching = false;
    return monitors[lf_bestMonitor(monitors, rect, &touching)].work;
}

}  // namespace win32_internal

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
    if (rect == nullptr) return nullptr;
    MonitorState& state = lf_state();
    std::lock_guard lock(state.mutex);
    bool touching = false;
    std::size_t best = lf_bestMonitor(state.monitors, *rect, &touching);
    if (!touching) {
        if (flags == MONITOR_DEFAULTTONULL) return nullptr;
        if (flags == MONITOR_DEFAULTTOPRIMARY) best = 0;
    }
    return lf_handle(state.generation, best);
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    if (info == nullptr || info->cbSize < sizeof(MONITORINFO)) return FALSE;
    MonitorState& state = lf_state();
    std::lock_guard lock(state.mutex);
    auto value = reinterpret_cast<std::uintptr_t>(monitor);
    std::size_t index = value & 0xFF;
    if ((value >> 8) != state.generation || index == 0 || index > state.monitors.size()) return FALSE;
    info->rcMonitor = state.monitors[index - 1].monitor;
    info->rcWork = state.monitors[index - 1].work;
    info->dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

namespace standin {

void setMonitors(const std::vector<Monitor>& monitors) {
    MonitorState& state = lf_state();
    std::lock_guard lock(state.mutex);
    state.monitors.clear();
    for (const Monitor& monitor : monitors)
        state.monitors.push_back(MonitorEntry{monitor.area, monitor.workArea});
    if (state.monitors.empty()) state.monitors = lf_defaultLayout();
    ++state.generation;
}

void resetMonitors() {
    setMonitors({});
}

}  // namespace standin

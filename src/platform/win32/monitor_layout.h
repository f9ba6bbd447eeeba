#pragma once
// Internal: the configured monitors (the first is the primary one).

#include "platform/win32/win32_types.h"

#include <vector>

namespace win32_internal {

struct MonitorEntry {
    RECT monitor;
    RECT work;
};

std::vector<MonitorEntry> gf_monitors();
// The work area of the monitor nearest to a rectangle.
RECT gf_nearestWorkArea(const RECT& rect);

}  // namespace win32_internal

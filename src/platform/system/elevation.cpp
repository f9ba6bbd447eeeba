#include "platform/system/elevation.h"

#include "platform/system/native_calls.h"

#include <atomic>

namespace platform {

namespace {
// 0: no override; 1: not elevated; 2: elevated.
std::atomic<int> g_elevationOverride{0};
}  // namespace

bool isProcessElevated() {
    int scripted = g_elevationOverride.load();
    if (scripted != 0) return scripted == 2;
    return native::isProcessElevated();
}

ScopedElevationOverride::ScopedElevationOverride(bool elevated) {
    g_elevationOverride = elevated ? 2 : 1;
}

ScopedElevationOverride::~ScopedElevationOverride() {
    g_elevationOverride = 0;
}

}  // namespace platform

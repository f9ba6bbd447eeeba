#include "config/control_surface.h"

#include "config/control_binding.h"

#include <atomic>

namespace mrw {

namespace {

// Set by the UI thread, read by any thread.
std::atomic<ControlSurface*> g_surface{nullptr};

}  // namespace

void gf_setControlSurface(ControlSurface* surface) {
    g_surface = surface;
}

ControlSurface* gf_controlSurface() {
    return g_surface.load();
}

ControlSurface* gf_surfaceFor(const ControlBinding& binding) {
    return binding.hwnd == nullptr ? nullptr : gf_controlSurface();
}

}  // namespace mrw

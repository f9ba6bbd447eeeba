#include "config/control_surface.h"

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

}  // namespace mrw

#include "config/control_binding.h"

#include "config/control_surface.h"

namespace mrw {

bool ControlBinding::enable() const {
    ControlSurface* surface = gf_controlSurface();
    return hwnd != nullptr && surface != nullptr && surface->setEnabled(hwnd, true);
}

}  // namespace mrw

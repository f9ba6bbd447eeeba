#include "config/control_binding.h"

#include "config/control_surface.h"

namespace mrw {

bool ControlBinding::enable() const {
    ControlSurface* surface = gf_surfaceFor(*this);
    return surface != nullptr && surface->setEnabled(hwnd, true);
}

}  // namespace mrw

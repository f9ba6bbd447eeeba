#include "config/control_binding.h"

#include "platform/win32/user32.h"

namespace mrw {

BOOL ControlBinding::enable() const {
    return hwnd == nullptr ? FALSE : EnableWindow(hwnd, TRUE);
}

}  // namespace mrw

#pragma once
// The settings' controls as the real child controls of the main window: the window floor's side of
// config's ControlSurface.

namespace mrw {

// Registers the surface over the Win32 controls; the main window's view does when it is built.
void gf_registerWin32ControlSurface();

}  // namespace mrw

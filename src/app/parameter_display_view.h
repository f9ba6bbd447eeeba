#pragma once
// The window's display of the settings' values in their controls (config/parameter_display.h).

namespace mrw {

// Registers the window's display: the main window's view does so when it is built.
void gf_registerParameterDisplayView();

}  // namespace mrw

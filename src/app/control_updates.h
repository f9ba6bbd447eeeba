#pragma once
// Changes to the settings' child controls made by the code that sets a value (not by the user): the
// check mark of a check box, the selected entry of a combo box, enabling a control. The control is
// found by its identifier in the main window; before the window or the control exists every call
// changes nothing.

#include <cstdint>

#include "config/control_parameters.h"
#include "platform/win32/user32.h"

namespace mrw {

// The child control of a binding; null when there is none.
HWND gf_controlOf(const ControlBinding& binding);
// The check box shows the setting's current value.
void gf_showCheck(const CheckBoxParameter& parameter);
// Selects the entry whose choice equals the value exactly; nothing when no choice does.
void gf_selectChoice(const IntComboParameter& parameter, std::int32_t value);
void gf_selectChoice(const FloatComboParameter& parameter, float value);
void gf_enableControl(const ControlBinding& binding, bool enable);
// Repaints the control panel (0, 112)-(880, 392) with its background erased.
void gf_invalidateControlPanel();

}  // namespace mrw

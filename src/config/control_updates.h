#pragma once
// Changes to the settings' child controls made by the code that sets a value (not by the user): the
// selected entry of a combo box and enabling a control, through the control handle in the setting's
// binding. Before the window creates its controls every call changes nothing.

#include <cstdint>

#include "config/control_parameters.h"

namespace mrw {

// Selects the entry whose choice equals the value exactly; nothing when no choice does.
void gf_selectChoice(const IntComboParameter& parameter, std::int32_t value);
void gf_selectChoice(const FloatComboParameter& parameter, float value);
void gf_enableControl(const ControlBinding& binding, bool enable);
// The bound control exists and is enabled.
bool gf_controlEnabled(const ControlBinding& binding);

}  // namespace mrw

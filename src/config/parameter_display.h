#pragma once
// Writing a setting's current value into its control of the main window. Called from the UI thread
// and the main worker; they never throw. The settings hold the value; the window floor shows it in
// its control through the display it registers when it comes into being: until then nothing is
// shown.

#include "config/control_parameters.h"

namespace mrw {

// The current value as decimal text in the control whose id is the setting's controlId, then the
// control panel repainted; "GetDlgItem failed for ID {}" when the window has no such control.
void gf_showIntParameter(const IntComboParameter& parameter);
// The same with the current text.
void gf_showStringParameter(const ControlParameter& parameter);

// How the window shows the two kinds of setting (a missing control or a text that cannot be
// converted is logged there).
struct ParameterDisplay {
    void (*showInt)(const IntComboParameter& parameter) = nullptr;
    void (*showString)(const ControlParameter& parameter) = nullptr;
};
void gf_setParameterDisplay(ParameterDisplay display);

}  // namespace mrw

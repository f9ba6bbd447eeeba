#pragma once
// The six registries of the saved settings, in their walk order. Loading and saving parameters.xml
// walk them in this order, each member in order; membership, not the object's class, decides what a
// load or save-all does to the member's control. Built on first use from the catalogue and the main
// window, never changed or destroyed afterwards. The pointers do not own.

#include <vector>

#include "config/control_parameters.h"
#include "config/parameter.h"

namespace mrw {

const std::vector<BoolParameter*>& g_boolParameters();              // 1: value only
const std::vector<CheckBoxParameter*>& g_checkBoxParameters();      // 2: + the check box
const std::vector<IntParameter*>& g_intParameters();                // 3: value only
const std::vector<IntComboParameter*>& g_intComboParameters();      // 4: + the combo box's text
const std::vector<StringParameter*>& g_stringParameters();          // 5: value only
const std::vector<ControlParameter*>& g_controlStringParameters();  // 6: + the control's text

}  // namespace mrw

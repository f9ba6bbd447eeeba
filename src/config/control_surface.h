#pragma once
// What the settings need of their child controls, implemented by the window floor over the real
// controls: config changes a control through the registered surface and never reaches the window
// itself. With no surface registered (before the window exists, and in tests of the lower floors)
// every change does nothing and every question answers false, as for a control not yet created.

#include <cstddef>
#include <string>
#include <vector>

struct HWND__;

namespace mrw {

class ControlBinding;

class ControlSurface {
  public:
    virtual ~ControlSurface() = default;

    // The handle names a live control.
    virtual bool exists(HWND__* control) const = 0;
    // Enables or disables the control; true when it was disabled before (as EnableWindow answers).
    virtual bool setEnabled(HWND__* control, bool enabled) = 0;
    virtual bool isEnabled(HWND__* control) const = 0;
    virtual void setCheck(HWND__* control, bool checked) = 0;
    // Empties the combo box and adds the texts in order, none selected.
    virtual void fillCombo(HWND__* control, const std::vector<std::u16string>& texts) = 0;
    virtual void selectIndex(HWND__* control, std::size_t index) = 0;
    // Selects the first entry that begins with the text, case-blind; none matching changes nothing.
    virtual void selectPrefix(HWND__* control, const std::u16string& text) = 0;
};

// Registered by the window floor (any thread may then use it); null unregisters.
void gf_setControlSurface(ControlSurface* surface);
// The registered surface, or null.
ControlSurface* gf_controlSurface();
// The registered surface when the bound control has been created; else null (nothing to change).
ControlSurface* gf_surfaceFor(const ControlBinding& binding);

}  // namespace mrw

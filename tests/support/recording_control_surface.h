#pragma once
// A control surface of the test's own: it stands in for the window's controls so that a test of a
// lower floor sees what the settings asked of their controls (enabled, checked, the combo's texts
// and selection) without a window. Registered while it lives; the handles it gives out are taken
// from the bindings again at its end.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "config/control_binding.h"
#include "config/control_surface.h"

namespace mrwtest {

class RecordingControlSurface final : public mrw::ControlSurface {
  public:
    struct Control {
        bool enabled = true;
        bool checked = false;
        std::vector<std::u16string> texts;
        std::optional<std::size_t> selection;
        int fills = 0;
    };

    RecordingControlSurface();
    ~RecordingControlSurface() override;
    RecordingControlSurface(const RecordingControlSurface&) = delete;
    RecordingControlSurface& operator=(const RecordingControlSurface&) = delete;

    // Gives the binding a control of this surface (enabled, unchecked, empty) and returns it.
    Control& bind(mrw::ControlBinding& binding);
    // The binding's control; fails the test when it has none of this surface.
    Control& control(const mrw::ControlBinding& binding);
    // The selected entry's text in UTF-8; empty when none is selected.
    std::string selectedText(const mrw::ControlBinding& binding);
    // Calls with a handle that names no control of this surface (a null one included).
    int strayCalls() const { return m_strayCalls; }

    bool exists(HWND__* handle) const override;
    bool setEnabled(HWND__* handle, bool enabled) override;
    bool isEnabled(HWND__* handle) const override;
    void setCheck(HWND__* handle, bool checked) override;
    void fillCombo(HWND__* handle, const std::vector<std::u16string>& texts) override;
    void selectIndex(HWND__* handle, std::size_t index) override;
    void selectPrefix(HWND__* handle, const std::u16string& text) override;

  private:
    Control* lookUp(HWND__* handle) const;
    // lookUp, counting a handle that names no control as a stray call.
    Control* find(HWND__* handle) const;

    mutable std::deque<Control> m_controls;  // stable addresses: they are the handles
    std::vector<mrw::ControlBinding*> m_bound;
    mutable int m_strayCalls = 0;
    mrw::ControlSurface* m_previous = nullptr;
};

}  // namespace mrwtest

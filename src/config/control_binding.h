#pragma once
// The tie between a setting (or a push button) and its child control in the main window.

#include <cstdint>

// The window's handle of a control; opaque on this floor (HWND is HWND__*).
struct HWND__;

namespace mrw {

class ControlBinding {
  public:
    ControlBinding(std::uint16_t id, std::int32_t row) : controlId(id), rowY(row) {}
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;
    virtual ~ControlBinding() = default;

    // Enables the bound control; true when it was disabled before. With no control nothing changes.
    bool enable() const;

    // The child control's identifier (its menu handle when created, the id of its notifications).
    const std::uint16_t controlId;
    // The vertical pixel position of the control's row in the control panel.
    const std::int32_t rowY;
    // Null until the main window creates its child controls; set once by the UI thread before any run.
    HWND__* hwnd = nullptr;
};

}  // namespace mrw

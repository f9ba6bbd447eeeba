#pragma once
// The tie between a setting (or a push button) and its child control in the main window.

#include <cstdint>

namespace mrw {

class ControlBinding {
  public:
    ControlBinding(std::uint16_t id, std::int32_t row) : controlId(id), rowY(row) {}
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;
    virtual ~ControlBinding() = default;

    // The child control's identifier (its menu handle when created, the id of its notifications).
    const std::uint16_t controlId;
    // The vertical pixel position of the control's row in the control panel.
    const std::int32_t rowY;
};

}  // namespace mrw

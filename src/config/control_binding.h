#pragma once
// The tie between a setting (or a push button) and its child control in the main window.

#include <cstdint>

#include "platform/win32/win32_types.h"

namespace mrw {

class ControlBinding {
  public:
    ControlBinding(std::uint16_t id, std::int32_t row) : controlId(id), rowY(row) {}
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;
    virtual ~ControlBinding() = default;

    // EnableWindow(TRUE) on the bound control and its result; with a null handle nothing changes.
    BOOL enable() const;
    // Creates the bound edit field (width x 16 at (x, row y)), subclassed with `procedure` (the
    // replaced procedure is kept in previousWndProc), disabled.
    void createEdit(HWND parent, const CREATESTRUCTW& creation, INT x, INT width, WNDPROC procedure);

    // The child control's identifier (its menu handle when created, the id of its notifications).
    const std::uint16_t controlId;
    // The vertical pixel position of the control's row in the control panel.
    const std::int32_t rowY;
    // Null until the main window creates its child controls; set once by the UI thread before any run.
    HWND hwnd = nullptr;
    // The edit field's window procedure that subclassing replaced; null for the other controls.
    WNDPROC previousWndProc = nullptr;
};

}  // namespace mrw

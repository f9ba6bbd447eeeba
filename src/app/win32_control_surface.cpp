#include "app/win32_control_surface.h"

#include "config/control_surface.h"
#include "platform/win32/user32.h"

namespace mrw {

namespace {

class Win32ControlSurface final : public ControlSurface {
  public:
    bool exists(HWND control) const override { return IsWindow(control) != FALSE; }
    bool setEnabled(HWND control, bool enabled) override {
        return EnableWindow(control, enabled ? TRUE : FALSE) != FALSE;
    }
    bool isEnabled(HWND control) const override { return IsWindowEnabled(control) != FALSE; }
    void setCheck(HWND control, bool checked) override {
        SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void fillCombo(HWND control, const std::vector<std::u16string>& texts) override {
        SendMessageW(control, CB_RESETCONTENT, 0, 0);
        for (const auto& text : texts)
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void selectIndex(HWND control, std::size_t index) override {
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    void selectPrefix(HWND control, const std::u16string& text) override {
        SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
};

}  // namespace

void gf_registerWin32ControlSurface() {
    static Win32ControlSurface surface;
    gf_setControlSurface(&surface);
}

}  // namespace mrw

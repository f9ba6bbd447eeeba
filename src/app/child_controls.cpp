#include "app/child_controls.h"

#include "app/edit_fields.h"
#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "foundation/text_encoding.h"
#include "platform/win32/win32.h"

namespace mrw {

namespace {

HMENU lf_idMenu(const ControlBinding& binding) {
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(binding.controlId));
}

void lf_createCombo(ControlBinding& binding, HWND parent, const CREATESTRUCTW& creation, INT x, INT width,
                    INT dropHeight) {
    binding.hwnd = CreateWindowExW(
        0, u"ComboBox", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, x,
        binding.rowY - 5, width, dropHeight, parent, lf_idMenu(binding), creation.hInstance, nullptr);
}

// Its 12 x 12 check box at (x, row y + 2), checked from `current`, enabled.
void lf_createCheckBox(CheckBoxParameter& parameter, HWND parent, const CREATESTRUCTW& creation, INT x) {
    parameter.hwnd = CreateWindowExW(0, u"button", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, x,
                                     parameter.rowY + 2, 12, 12, parent, lf_idMenu(parameter),
                                     creation.hInstance, nullptr);
    CheckDlgButton(parent, parameter.controlId, parameter.current ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(parameter.hwnd, TRUE);
}

// Its button (width x 20 at (x, row y)) with the caption, disabled until the run's control set-up
// enables it.
void lf_createButton(PushButton& button, HWND parent, const CREATESTRUCTW& creation, INT x, INT width) {
    const std::u16string caption = utf8_to_wide(button.name);
    button.hwnd =
        CreateWindowExW(0, u"button", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        x, button.rowY, width, 20, parent, lf_idMenu(button), creation.hInstance, nullptr);
    EnableWindow(button.hwnd, FALSE);
}

// The edit field (width x 16 at (x, row y)), subclassed with `procedure` (the replaced procedure is
// kept for it), disabled. It takes text longer than itself, scrolled sideways to the caret.
void lf_createEdit(ControlBinding& binding, HWND parent, const CREATESTRUCTW& creation, INT x, INT width,
                   WNDPROC procedure) {
    binding.hwnd =
        CreateWindowExW(0, u"Edit", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, x,
                        binding.rowY, width, 16, parent, lf_idMenu(binding), creation.hInstance, nullptr);
    gf_keepPreviousWndProc(binding.controlId,
                           reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                               binding.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure))));
    EnableWindow(binding.hwnd, FALSE);
}

}  // namespace

void lf_createControls(HWND parent, const CREATESTRUCTW& creation) {
    ParameterCatalogue& p = g_parameters();
    lf_createCombo(p.SIM_CHOICE, parent, creation, 5, 105, 80);
    // The install path ends inside the window (5 px from its edge, as the panel begins): wider, the
    // end of a long path, where the caret is, would be cut off by the window.
    RECT client{};
    GetClientRect(parent, &client);
    lf_createEdit(p.ALL_INSTALL_PATH, parent, creation, 111, client.right - 5 - 111, lf_installPathEditProc);
    lf_createCheckBox(p.SCAN_LIVERIES, parent, creation, 5);
    lf_createCheckBox(p.LIG_AUTOMATIC, parent, creation, 217);
    lf_createCombo(p.AI_PACKAGE_SELECTOR, parent, creation, 323, 175, 300);
    lf_createCheckBox(p.LIG_PRIORITIZE, parent, creation, 536);
    lf_createCheckBox(p.ALWAYS_ON_TOP, parent, creation, 748);
    lf_createCheckBox(p.SCAN_AIRPORTS, parent, creation, 5);
    lf_createButton(p.tbloZipButton, parent, creation, 217, 80);
    lf_createCheckBox(p.OBJECTID_LIST, parent, creation, 652);
    lf_createCheckBox(p.NAV_LIGHTS_WHILE_PARKED, parent, creation, 748);
    lf_createCombo(p.MATCHING_DEPTH, parent, creation, 217, 40, 120);
    lf_createCheckBox(p.LIGHT_AIRCRAFT, parent, creation, 323);
    lf_createCheckBox(p.HELICOPTERS, parent, creation, 430);
    lf_createCheckBox(p.HIGH_PERF_AIRCRAFT, parent, creation, 536);
    lf_createCheckBox(p.AEROWINX, parent, creation, 652);
    lf_createCheckBox(p.GUID_CHANGES, parent, creation, 748);
    lf_createCombo(p.RANGE, parent, creation, 217, 50, 200);
    lf_createCheckBox(p.AUTO_RANGE, parent, creation, 323);
    lf_createCombo(p.AR_ABOVE_HEIGHT, parent, creation, 455, 70, 230);
    lf_createCheckBox(p.AIRBORNE_ONLY, parent, creation, 572);
    lf_createCheckBox(p.COLLISION_USER_GND, parent, creation, 217);
    lf_createCheckBox(p.COLLISION_USER_AIR, parent, creation, 323);
    lf_createCheckBox(p.COLLISION_LIVE_PARKED_GND, parent, creation, 430);
    lf_createEdit(p.BLOCK_CALLSIGN, parent, creation, 107, 100, lf_blockCallsignEditProc);
    lf_createButton(p.unblockButton, parent, creation, 223, 60);
    lf_createButton(p.csToOidButton, parent, creation, 305, 60);
    lf_createCombo(p.CALLSIGN_2_OBJECTID, parent, creation, 375, 100, 300);
    lf_createButton(p.blockButton, parent, creation, 576, 60);
    lf_createButton(p.nowButton, parent, creation, 111, 45);
    lf_createCombo(p.MAX_PARK_SEL, parent, creation, 323, 55, 144);
    lf_createCombo(p.MAX_LIVE_SEL, parent, creation, 536, 55, 144);
    lf_createEdit(p.DESTINATION, parent, creation, 217, 50, lf_destinationEditProc);
    lf_createCombo(p.AIRP_RANGE, parent, creation, 353, 45, 144);
    lf_createCombo(p.AIRP_HEIGHT, parent, creation, 566, 70, 230);
    lf_createCheckBox(p.STRAIGHT_PBS_ONLY, parent, creation, 652);
    lf_createCheckBox(p.INITIAL_LOAD_ONLY, parent, creation, 5);
    lf_createCheckBox(p.WEEK, parent, creation, 71);
    lf_createCheckBox(p.PARK_SOFT, parent, creation, 151);
    lf_createCombo(p.parking_percentage, parent, creation, 323, 50, 200);
    lf_createCombo(p.MAX_FIT_FL, parent, creation, 566, 60, 300);
    lf_createButton(p.rereadButton, parent, creation, 758, 90);
    lf_createButton(p.flushStaticButton, parent, creation, 758, 90);
    InvalidateRect(parent, &kControlPanelRect, TRUE);
}

}  // namespace mrw

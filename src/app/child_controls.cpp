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

}  // namespace

void CheckBoxParameter::createControl(HWND parent, const CREATESTRUCTW& creation, INT x) {
    hwnd = CreateWindowExW(0, u"button", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, x, rowY + 2,
                           12, 12, parent, lf_idMenu(*this), creation.hInstance, nullptr);
    CheckDlgButton(parent, controlId, current ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(hwnd, TRUE);
}

void PushButton::create(HWND parent, const CREATESTRUCTW& creation, INT x, INT width) {
    const std::u16string caption = utf8_to_wide(name);
    hwnd =
        CreateWindowExW(0, u"button", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        x, rowY, width, 20, parent, lf_idMenu(*this), creation.hInstance, nullptr);
    EnableWindow(hwnd, FALSE);
}

void ControlBinding::createEdit(HWND parent, const CREATESTRUCTW& creation, INT x, INT width,
                                WNDPROC procedure) {
    hwnd = CreateWindowExW(0, u"Edit", u"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, x, rowY, width,
                           16, parent, lf_idMenu(*this), creation.hInstance, nullptr);
    previousWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    EnableWindow(hwnd, FALSE);
}

void lf_createControls(HWND parent, const CREATESTRUCTW& creation) {
    ParameterCatalogue& p = g_parameters();
    lf_createCombo(p.SIM_CHOICE, parent, creation, 5, 105, 80);
    p.ALL_INSTALL_PATH.createEdit(parent, creation, 111, 1200, lf_installPathEditProc);
    p.SCAN_LIVERIES.createControl(parent, creation, 5);
    p.LIG_AUTOMATIC.createControl(parent, creation, 217);
    lf_createCombo(p.AI_PACKAGE_SELECTOR, parent, creation, 323, 175, 300);
    p.LIG_PRIORITIZE.createControl(parent, creation, 536);
    p.ALWAYS_ON_TOP.createControl(parent, creation, 748);
    p.SCAN_AIRPORTS.createControl(parent, creation, 5);
    p.tbloZipButton.create(parent, creation, 217, 80);
    p.OBJECTID_LIST.createControl(parent, creation, 652);
    p.NAV_LIGHTS_WHILE_PARKED.createControl(parent, creation, 748);
    lf_createCombo(p.MATCHING_DEPTH, parent, creation, 217, 40, 120);
    p.LIGHT_AIRCRAFT.createControl(parent, creation, 323);
    p.HELICOPTERS.createControl(parent, creation, 430);
    p.HIGH_PERF_AIRCRAFT.createControl(parent, creation, 536);
    p.AEROWINX.createControl(parent, creation, 652);
    p.GUID_CHANGES.createControl(parent, creation, 748);
    lf_createCombo(p.RANGE, parent, creation, 217, 50, 200);
    p.AUTO_RANGE.createControl(parent, creation, 323);
    lf_createCombo(p.AR_ABOVE_HEIGHT, parent, creation, 455, 70, 230);
    p.AIRBORNE_ONLY.createControl(parent, creation, 572);
    p.COLLISION_USER_GND.createControl(parent, creation, 217);
    p.COLLISION_USER_AIR.createControl(parent, creation, 323);
    p.COLLISION_LIVE_PARKED_GND.createControl(parent, creation, 430);
    p.BLOCK_CALLSIGN.createEdit(parent, creation, 107, 100, lf_blockCallsignEditProc);
    p.unblockButton.create(parent, creation, 223, 60);
    p.csToOidButton.create(parent, creation, 305, 60);
    lf_createCombo(p.CALLSIGN_2_OBJECTID, parent, creation, 375, 100, 300);
    p.blockButton.create(parent, creation, 576, 60);
    p.nowButton.create(parent, creation, 111, 45);
    lf_createCombo(p.MAX_PARK_SEL, parent, creation, 323, 55, 144);
    lf_createCombo(p.MAX_LIVE_SEL, parent, creation, 536, 55, 144);
    p.DESTINATION.createEdit(parent, creation, 217, 50, lf_destinationEditProc);
    lf_createCombo(p.AIRP_RANGE, parent, creation, 353, 45, 144);
    lf_createCombo(p.AIRP_HEIGHT, parent, creation, 566, 70, 230);
    p.STRAIGHT_PBS_ONLY.createControl(parent, creation, 652);
    p.INITIAL_LOAD_ONLY.createControl(parent, creation, 5);
    p.WEEK.createControl(parent, creation, 71);
    p.PARK_SOFT.createControl(parent, creation, 151);
    lf_createCombo(p.parking_percentage, parent, creation, 323, 50, 200);
    lf_createCombo(p.MAX_FIT_FL, parent, creation, 566, 60, 300);
    p.rereadButton.create(parent, creation, 758, 90);
    p.flushStaticButton.create(parent, creation, 758, 90);
    InvalidateRect(parent, &kControlPanelRect, TRUE);
}

}  // namespace mrw

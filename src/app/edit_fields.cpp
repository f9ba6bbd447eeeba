#include "app/edit_fields.h"

#include "config/parameter_catalogue.h"
#include "platform/win32/win32.h"

namespace mrw {

namespace {

LRESULT lf_editSubclassProc(const ControlParameter& parameter, HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam) {
    return CallWindowProcW(parameter.previousWndProc, hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT lf_blockCallsignEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return lf_editSubclassProc(g_parameters().BLOCK_CALLSIGN, hwnd, message, wParam, lParam);
}

LRESULT lf_destinationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return lf_editSubclassProc(g_parameters().DESTINATION, hwnd, message, wParam, lParam);
}

LRESULT lf_installPathEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return lf_editSubclassProc(g_parameters().ALL_INSTALL_PATH, hwnd, message, wParam, lParam);
}

}  // namespace mrw

#include "app/main_window.h"

namespace mrw {

MainWindow& g_mainWindow() {
    static auto* window = new MainWindow();  // never destroyed: see the header
    return *window;
}

void gf_invalidateStatusBand() {
    if (HWND hwnd = g_mainWindow().hwnd.load()) InvalidateRect(hwnd, &kStatusBandRect, TRUE);
}

void gf_invalidateControlPanel() {
    if (HWND hwnd = g_mainWindow().hwnd.load()) InvalidateRect(hwnd, &kControlPanelRect, TRUE);
}

void gf_invalidateInfoBand() {
    if (HWND hwnd = g_mainWindow().hwnd.load()) InvalidateRect(hwnd, &kInfoBandRect, TRUE);
}

}  // namespace mrw

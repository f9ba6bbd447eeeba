#include "app/window_procedure.h"

#include <fmt/format.h>

#include <exception>

#include "app/child_controls.h"
#include "app/command_dispatch.h"
#include "app/main_window.h"
#include "app/process_entry.h"
#include "app/status_painting.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/time_texts.h"
#include "platform/win32/win32.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "traffic/feed/realtraffic_link.h"

namespace mrw {

namespace {

void lf_onClose() {
    gf_setMessage(fmt::format("Close window button clicked, closing {} ...", kProductName), false);
    gf_markClosing();
}

void lf_startMainWorker(HWND hwnd) {
    try {
        g_mainWorkerThread = std::jthread([] { lf_startUpMRWV(); });
        g_mainWorkerThread.detach();
    } catch (const std::exception& e) {
        // Without a worker no run ends and nobody would ever post the quit: end the process here.
        gf_setErrorMessage(fmt::format("The main worker could not be started: {}", e.what()));
        g_exitCode = 1;
        PostMessageW(hwnd, WM_APP_QUIT, 0, 0);
    }
}

void lf_onQuit() {
    const RECT rect = gf_restoredWindowRect(g_mainWindowView().hwnd);
    const std::int32_t oldX = g_parameters().mainWindowX.current;
    const std::int32_t oldY = g_parameters().mainWindowY.current;
    g_parameters().mainWindowX.current = g_parameters().mainWindowX.clamp(rect.left);
    g_parameters().mainWindowX.save();
    g_parameters().mainWindowY.current = g_parameters().mainWindowY.clamp(rect.top);
    g_parameters().mainWindowY.save();
    lf_keepWindowOnMonitor(oldX, oldY);
    gf_logLine(gf_ctimeUtc(gf_wallClockSeconds()));
    PostQuitMessage(g_exitCode);
}

LRESULT lf_controlColour(WPARAM hdcValue) {
    HDC hdc = reinterpret_cast<HDC>(hdcValue);
    SetBkMode(hdc, OPAQUE);
    SetBkColor(hdc, kPanelBlue);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

LRESULT lf_handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            lf_createControls(hwnd, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC hdc = BeginPaint(hwnd, &paint);
            lf_paintMainWindow(hdc);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_CLOSE:
            lf_onClose();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_COMMAND:
            return lf_HandleWMCOMMAND(hwnd, wParam) ? 0 : DefWindowProcW(hwnd, message, wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return lf_controlColour(wParam);
        case WM_APP_START_RUN:
            lf_startMainWorker(hwnd);
            return 0;
        case WM_APP_QUIT:
            lf_onQuit();
            return 0;
        case WM_APP_MESSAGE_LINE:
            InvalidateRect(hwnd, &kMessageBandRect, FALSE);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT wndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    g_hwndCurrent = hwnd;
    try {
        return lf_handle(hwnd, message, wParam, lParam);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("wndProc exception {}", e.what()));
    } catch (...) {
        gf_logError("wndProc exception unknown");
    }
    return 0;
}

}  // namespace mrw

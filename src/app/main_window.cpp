#include "app/main_window.h"

#include "app/parameter_display_view.h"
#include "app/win32_control_surface.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/static_parking.h"

#include <algorithm>

namespace mrw {

namespace {

// The window model's observer: a change of the model repaints what shows it.
void lf_showChange(WindowChange change) {
    HWND hwnd = g_mainWindowView().hwnd.load();
    if (hwnd == nullptr) return;
    switch (change) {
        case WindowChange::StatusBand:
            InvalidateRect(hwnd, &kStatusBandRect, TRUE);
            break;
        case WindowChange::ControlPanel:
            InvalidateRect(hwnd, &kControlPanelRect, TRUE);
            break;
        case WindowChange::InfoBand:
            InvalidateRect(hwnd, &kInfoBandRect, TRUE);
            break;
        case WindowChange::MessageLine:
            PostMessageW(hwnd, WM_APP_MESSAGE_LINE, 0, 0);
            break;
    }
}

}  // namespace

MainWindowView::MainWindowView()
    : redBrush(CreateSolidBrush(kRed)),
      panelBrush(CreateSolidBrush(kPanelBlue)),
      blackBrush(CreateSolidBrush(kBlack)),
      greenBrush(CreateSolidBrush(kGreen)),
      yellowBrush(CreateSolidBrush(kYellow)),
      blackPen(CreatePen(PS_SOLID, 1, kBlack)),
      whitePen(CreatePen(PS_SOLID, 1, kWhite)) {}

MainWindowView& g_mainWindowView() {
    static auto* view = [] {
        auto* built = new MainWindowView();  // never destroyed: see the header
        gf_observeWindowModel(&lf_showChange);
        gf_registerParameterDisplayView();
        gf_registerWin32ControlSurface();
        return built;
    }();
    return *view;
}

void lf_refreshCounters() {
    MainWindow& window = g_mainWindow();
    const std::uint64_t parkedLive = gf_countLiveParked(true);
    const auto live =
        static_cast<std::uint64_t>(std::count_if(g_liveAcs.begin(), g_liveAcs.end(), [](const LiveAc& ac) {
            return ac.simState == SimState::Active && ac.phase != FlightPhase::Parked;
        }));
    if (window.liveCount.exchange(live) != live) gf_invalidateStatusBand();
    const std::uint64_t statics = gf_countStaticParked(true);
    const bool staticChanged = window.staticCount.exchange(statics) != statics;
    const bool parkedChanged = window.parkedLiveCount.exchange(parkedLive) != parkedLive;
    if (staticChanged || parkedChanged) gf_invalidateInfoBand();
}

}  // namespace mrw

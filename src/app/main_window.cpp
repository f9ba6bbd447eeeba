#include "app/main_window.h"

#include "traffic/engine/engine_containers.h"
#include "traffic/parking/static_parking.h"

#include <algorithm>

namespace mrw {

MainWindow::MainWindow()
    : redBrush(CreateSolidBrush(kRed)),
      panelBrush(CreateSolidBrush(kPanelBlue)),
      blackBrush(CreateSolidBrush(kBlack)),
      greenBrush(CreateSolidBrush(kGreen)),
      yellowBrush(CreateSolidBrush(kYellow)),
      blackPen(CreatePen(PS_SOLID, 1, kBlack)),
      whitePen(CreatePen(PS_SOLID, 1, kWhite)) {
    initialised.exchange(true);
}

MainWindow& g_mainWindow() {
    static auto* window = new MainWindow();  // never destroyed: see the header
    return *window;
}

namespace {

void lf_invalidate(const RECT& band) {
    if (HWND hwnd = g_mainWindow().hwnd.load()) InvalidateRect(hwnd, &band, TRUE);
}

}  // namespace

void gf_invalidateStatusBand() {
    lf_invalidate(kStatusBandRect);
}

void gf_invalidateControlPanel() {
    lf_invalidate(kControlPanelRect);
}

void gf_invalidateInfoBand() {
    lf_invalidate(kInfoBandRect);
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

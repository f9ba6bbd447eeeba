#include "foundation/window_model.h"

#include <memory>

namespace mrw {

namespace {

std::atomic<WindowModelObserver> g_windowModelObserver{nullptr};

}  // namespace

MainWindow::MainWindow() {
    initialised.exchange(true);
}

MainWindow& g_mainWindow() {
    static auto* window = new MainWindow();  // never destroyed: see the header
    return *window;
}

void gf_renewMainWindow() {
    MainWindow& window = g_mainWindow();
    std::destroy_at(&window);
    std::construct_at(&window);
}

void gf_observeWindowModel(WindowModelObserver observer) {
    g_windowModelObserver = observer;
}

void gf_windowModelChanged(WindowChange change) {
    if (WindowModelObserver observer = g_windowModelObserver.load()) observer(change);
}

void gf_invalidateStatusBand() {
    gf_windowModelChanged(WindowChange::StatusBand);
}

void gf_invalidateControlPanel() {
    gf_windowModelChanged(WindowChange::ControlPanel);
}

void gf_invalidateInfoBand() {
    gf_windowModelChanged(WindowChange::InfoBand);
}

}  // namespace mrw

#include "app/main_window.h"

namespace mrw {

MainWindow& g_mainWindow() {
    static auto* window = new MainWindow();  // never destroyed: see the header
    return *window;
}

}  // namespace mrw

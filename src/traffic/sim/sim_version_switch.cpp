#include "traffic/sim/sim_version_switch.h"

#include <filesystem>

#include <fmt/format.h>

#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "foundation/time_texts.h"
#include "foundation/version_data.h"

namespace mrw {

namespace fs = std::filesystem;

void lf_switchSimVersion() {
    fs::remove(g_liveriesScannedFile);
    // Threads of the run may still match liveries: the run end empties the catalogue after it has
    // joined them.
    g_catalogueClearRequest = true;
    ParameterCatalogue& p = g_parameters();
    for (CheckBoxParameter* scan : {&p.SCAN_AIRPORTS, &p.SCAN_LIVERIES}) {
        scan->current = true;
        scan->save();
        scan->showCheck();
    }
    gf_setMessage(fmt::format("Switching MSFS version in {}", kProductName), true);
    p.ALL_INSTALL_PATH.current.set("");
    gf_showStringParameter(p.ALL_INSTALL_PATH);
    if (!g_msfs2020.load()) p.DUDIDUDEVI24_VERSION.setAndSave("");
    gf_stopWithReason(ExitReason::NewSettings, 3);
}

void gf_simDisconnected(bool switchSim) {
    if (g_stopRequested.load()) return;
    if (switchSim) {
        StringComboParameter& simChoice = g_parameters().SIM_CHOICE;
        simChoice.setAndSave(g_msfs2020.load() ? "MSFS 2024" : "MSFS 2020");
        simChoice.fillCombo();
        lf_switchSimVersion();
        return;
    }
    gf_logLine(fmt::format("{} Flight Simulator no longer connected, {} will stop ...", gf_utcTimeOfDay(),
                           kProductName));
    gf_stopWithReason(ExitReason::SimWasClosed, 0);
}

}  // namespace mrw

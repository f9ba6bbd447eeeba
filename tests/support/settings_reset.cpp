#include "support/settings_reset.h"

#include "config/parameter_catalogue.h"
#include "config/parameter_registries.h"
#include "foundation/run_state.h"

namespace mrwtest {

void resetSettings() {
    using namespace mrw;
    const auto reset = [](const auto& registry) {
        for (auto* p : registry)
            p->current = p->defaultValue;
    };
    const auto resetTexts = [](const auto& registry) {
        for (auto* p : registry)
            p->current.set(p->defaultValue.get());
    };
    ParameterCatalogue& c = g_parameters();
    c.PROGRAM_VERSION.defaultValue.set("");
    reset(g_boolParameters());
    reset(g_checkBoxParameters());
    reset(g_intParameters());
    reset(g_intComboParameters());
    resetTexts(g_stringParameters());
    resetTexts(g_controlStringParameters());
    c.ALL_INSTALL_PATH.current.set("");
    c.parking_percentage.current = c.parking_percentage.defaultValue;
    c.MAX_FIT_FL.current = c.MAX_FIT_FL.defaultValue;
    c.CALLSIGN_2_OBJECTID.current.set(c.CALLSIGN_2_OBJECTID.defaultValue.get());
    g_callsignChoices().replace({""});
    g_stopRequested = false;
    g_windowClosing = false;
}

}  // namespace mrwtest

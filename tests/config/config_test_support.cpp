#include "config_test_support.h"

#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_registries.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "traffic/run/run_end.h"



namespace mrwtest {

namespace fs = std::filesystem;

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
    g_stopRequested = false;
    g_windowClosing = false;
}

ConfigTest::ConfigTest() {
    useProcessDataDirectory();
    fs::remove(parametersFile());
    fs::remove(keptGeneration());
    resetSettings();
    mrw::gf_openLog();
}

ConfigTest::~ConfigTest() {
    resetSettings();
}

std::string ConfigTest::parametersText() const {
    return readFile(parametersFile());
}

const fs::path& ConfigTest::parametersFile() {
    return mrw::g_parametersFile();
}

fs::path ConfigTest::keptGeneration() {
    return mrw::g_dataDirectory() / "parameters0.xml";
}

}  // namespace mrwtest

#include "support/config_test_support.h"

#include "foundation/file_system.h"
#include "foundation/log.h"

namespace mrwtest {

namespace fs = std::filesystem;

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

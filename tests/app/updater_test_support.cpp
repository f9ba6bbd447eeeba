#include "updater_test_support.h"

#include <mutex>

#include <pugixml.hpp>

#include "app/main_window.h"
#include "config/parameters_xml.h"
#include "foundation/file_system.h"
#include "foundation/zip_archive.h"
#include "support/process_data_directory.h"
#include "support/settings_reset.h"
#include "support/test_support.h"
#include "run/run_end.h"

namespace mrwtest {

namespace fs = std::filesystem;

namespace {

void lf_resetRunState() {
    resetSettings();
    mrw::g_exitReason = mrw::ExitReason::NotYetSet;
    mrw::g_restartDelay = 0;
    mrw::MainWindow& window = mrw::g_mainWindow();
    std::lock_guard lock(window.messageMutex);
    window.message.clear();
    window.errorMessage.clear();
}

}  // namespace

UpdaterTest::UpdaterTest() {
    useProcessDataDirectory();
    lf_resetRunState();
    mrw::gf_saveParameters(true);
}

UpdaterTest::~UpdaterTest() {
    lf_resetRunState();
}

void UpdaterTest::serve(std::map<std::string, HttpTestServer::Answer> answers) {
    m_server = std::make_unique<HttpTestServer>(std::move(answers));
    m_environment.set("MRW_DOWNLOAD_SITE", m_server->site());
}

bool UpdaterTest::requested(const std::string& path) const {
    for (const std::string& request : m_server->requests())
        if (request == path) return true;
    return false;
}

std::string UpdaterTest::message() {
    mrw::MainWindow& window = mrw::g_mainWindow();
    std::lock_guard lock(window.messageMutex);
    return window.message;
}

std::string UpdaterTest::storedValue(const std::string& name) {
    pugi::xml_document document;
    if (!mrw::gf_loadParametersDocument(document)) return {};
    for (const pugi::xpath_node& node : document.select_nodes("//parameter"))
        if (name == node.node().attribute("name").value()) return node.node().attribute("value").value();
    return {};
}

std::string UpdaterTest::parametersText() {
    return readFile(mrw::g_parametersFile());
}

HttpTestServer::Answer ok(std::string body) {
    HttpTestServer::Answer answer;
    answer.body = std::move(body);
    return answer;
}

HttpTestServer::Answer notFound() {
    HttpTestServer::Answer answer;
    answer.status = 404;
    answer.body = "not found";
    return answer;
}

std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& entries) {
    const TempDir dir;
    const fs::path file = dir / "archive.zip";
    mrw::ZipArchive archive = mrw::ZipArchive::create(file);
    for (const auto& [name, bytes] : entries)
        archive.add(name, bytes);
    archive.close();
    return readFile(file);
}

}  // namespace mrwtest

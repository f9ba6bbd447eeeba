#pragma once
// The shared set-up of the updater tests: a program folder with Log.txt, the process's own data
// directory with a parameters.xml of defaults, every setting at its default, the stop latch and
// the message line cleared, and a download site on 127.0.0.1 that the test fills.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/http_test_server.h"
#include "support/logged_program_folder.h"
#include "support/scoped_environment.h"

namespace mrwtest {

class UpdaterTest : public ::testing::Test {
  protected:
    UpdaterTest();
    ~UpdaterTest() override;

    // Starts the download site with these answers and points MRW_DOWNLOAD_SITE at it.
    void serve(std::map<std::string, HttpTestServer::Answer> answers);
    HttpTestServer& server() { return *m_server; }
    bool requested(const std::string& path) const;

    std::string log() const { return m_folder.logText(); }
    bool logHas(const std::string& text) const { return log().find(text) != std::string::npos; }
    // The message line's normal text.
    static std::string message();
    // The value that parameters.xml holds for the setting; empty when it holds none.
    static std::string storedValue(const std::string& name);
    static std::string parametersText();

    std::filesystem::path path(const std::filesystem::path& relative) const { return m_folder / relative; }

  private:
    LoggedProgramFolder m_folder;
    ScopedEnvironment m_environment;
    std::unique_ptr<HttpTestServer> m_server;
};

HttpTestServer::Answer ok(std::string body);
HttpTestServer::Answer notFound();

// A zip archive of the entries, in this order, as bytes.
std::string zipBytes(const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace mrwtest

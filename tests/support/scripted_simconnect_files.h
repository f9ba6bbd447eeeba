#pragma once
// SimConnect library files for tests of the run-time binding: files by path, each with the
// functions it has; every load is recorded.

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/simconnect/simconnect_library.h"

namespace mrwtest {

class ScriptedSimConnectFiles : public platform::SimConnectFiles {
  public:
    // Every function of the program's list, or all but the named one.
    static std::set<std::string> allFunctions();
    static std::set<std::string> allFunctionsBut(const std::string& missing);
    // What `function` returns for a function the loaded file has.
    static platform::SimConnectProc fakeFunction();

    std::map<std::filesystem::path, std::set<std::string>> files;
    std::vector<std::filesystem::path> loads;

    bool load(const std::filesystem::path& file) override;
    platform::SimConnectProc function(const char* name) override;

  private:
    const std::set<std::string>* m_loaded = nullptr;
};

}  // namespace mrwtest

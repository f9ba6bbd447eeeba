#include "support/scripted_simconnect_files.h"

namespace mrwtest {
namespace {

void lf_fake() {}

}  // namespace

std::set<std::string> ScriptedSimConnectFiles::allFunctions() {
    return {platform::kSimConnectFunctions.begin(), platform::kSimConnectFunctions.end()};
}

std::set<std::string> ScriptedSimConnectFiles::allFunctionsBut(const std::string& missing) {
    std::set<std::string> functions = allFunctions();
    functions.erase(missing);
    return functions;
}

platform::SimConnectProc ScriptedSimConnectFiles::fakeFunction() {
    return &lf_fake;
}

bool ScriptedSimConnectFiles::load(const std::filesystem::path& file) {
    loads.push_back(file);
    const auto found = files.find(file);
    m_loaded = found == files.end() ? nullptr : &found->second;
    return m_loaded != nullptr;
}

platform::SimConnectProc ScriptedSimConnectFiles::function(const char* name) {
    return m_loaded != nullptr && m_loaded->contains(name) ? &lf_fake : nullptr;
}

}  // namespace mrwtest

// The Windows side of the binding: SimConnect.dll loaded with LoadLibraryW, its functions found with
// GetProcAddress; the program's folder from its own module, the SDK's folder from MSFS_SDK.
#include <cstdlib>
#include <string>

#include "platform/simconnect/simconnect_library.h"
#include "platform/windows/simconnect/bound_functions.h"
#include "platform/windows_types.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

class DllFiles : public SimConnectFiles {
  public:
    bool load(const fs::path& file) override {
        // A library stays loaded for the process: its functions may be bound.
        m_module = LoadLibraryW(file.c_str());
        return m_module != nullptr;
    }
    SimConnectProc function(const char* name) override {
        return m_module == nullptr ? nullptr
                                   : reinterpret_cast<SimConnectProc>(GetProcAddress(m_module, name));
    }

  private:
    HMODULE m_module = nullptr;
};

}  // namespace

SimConnectFiles& platformSimConnectFiles() {
    static DllFiles files;
    return files;
}

fs::path programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return fs::current_path();
        if (length < path.size()) {
            path.resize(length);
            return fs::path(path).parent_path();
        }
        path.resize(path.size() * 2);  // cut off: a longer buffer
    }
}

std::optional<fs::path> simulatorSdkFolder() {
    const wchar_t* folder = _wgetenv(L"MSFS_SDK");
    if (folder == nullptr || *folder == L'\0') return std::nullopt;
    return fs::path(folder);
}

void installSimConnect(const SimConnectTable& functions) {
    for (std::size_t i = 0; i < functions.size(); ++i)
        g_boundFunctions[i].store(functions[i], std::memory_order_release);
}

}  // namespace platform

#include "platform/system/known_folders.h"

#include <cstdlib>
#include <string>

namespace platform {

namespace {

std::optional<std::filesystem::path> lf_environmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path> lf_homeRelative(const char* relative) {
    auto home = lf_environmentPath("HOME");
    if (!home) return std::nullopt;
    return *home / relative;
}

// The override, then the XDG variable, then the conventional folder below HOME.
std::optional<std::filesystem::path> lf_userFolder(const char* overrideName, const char* xdgName,
                                                   const char* homeRelative) {
    if (auto path = lf_environmentPath(overrideName)) return path;
    if (auto path = lf_environmentPath(xdgName)) return path;
    return lf_homeRelative(homeRelative);
}

std::filesystem::path lf_systemFolder(const char* overrideName, const char* fallback) {
    return lf_environmentPath(overrideName).value_or(std::filesystem::path(fallback));
}

}  // namespace

std::optional<std::filesystem::path> knownFolderPath(KnownFolder folder) {
    switch (folder) {
        case KnownFolder::RoamingAppData:
            return lf_userFolder("MRW_ROAMING_APPDATA", "XDG_CONFIG_HOME", ".config");
        case KnownFolder::LocalAppData:
            return lf_userFolder("MRW_LOCAL_APPDATA", "XDG_DATA_HOME", ".local/share");
        case KnownFolder::ProgramFiles:
            return lf_systemFolder("MRW_PROGRAM_FILES", "/opt");
        case KnownFolder::ProgramFilesX86:
            return lf_systemFolder("MRW_PROGRAM_FILES_X86", "/usr/local");
    }
    return std::nullopt;
}

}  // namespace platform

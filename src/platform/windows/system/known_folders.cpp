#include "platform/system/known_folders.h"

#include <shlobj.h>

#include <cstdlib>

namespace platform {

namespace {

// The tests' override of a folder (an empty variable counts as unset), read as wide text so that
// non-ASCII folder names survive.
std::optional<std::filesystem::path> lf_environmentPath(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    if (value == nullptr || *value == L'\0') return std::nullopt;
    return std::filesystem::path(value);
}

std::optional<std::filesystem::path> lf_shellFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = std::filesystem::path(path);
    CoTaskMemFree(path);
    return folder;
}

std::optional<std::filesystem::path> lf_folder(const wchar_t* overrideName, const KNOWNFOLDERID& id) {
    if (auto path = lf_environmentPath(overrideName)) return path;
    return lf_shellFolder(id);
}

}  // namespace

std::optional<std::filesystem::path> knownFolderPath(KnownFolder folder) {
    switch (folder) {
        case KnownFolder::RoamingAppData:
            return lf_folder(L"MRW_ROAMING_APPDATA", FOLDERID_RoamingAppData);
        case KnownFolder::LocalAppData:
            return lf_folder(L"MRW_LOCAL_APPDATA", FOLDERID_LocalAppData);
        case KnownFolder::ProgramFiles:
            return lf_folder(L"MRW_PROGRAM_FILES", FOLDERID_ProgramFiles);
        case KnownFolder::ProgramFilesX86:
            return lf_folder(L"MRW_PROGRAM_FILES_X86", FOLDERID_ProgramFilesX86);
    }
    return std::nullopt;
}

}  // namespace platform

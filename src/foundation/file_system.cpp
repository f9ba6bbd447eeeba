#include "foundation/file_system.h"

#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "platform/system/shell.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace mrw {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kExpectedAirportFiles = 512;

std::string lf_upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool lf_hasXmlExtension(const fs::path& path) {
    return lf_upper(path_to_utf8(path.extension())) == ".XML";
}

fs::path lf_knownFolderOrLog(platform::KnownFolder folder, std::string_view error) {
    if (auto path = gf_knownFolderPath(folder)) return *path;
    gf_logError(error);
    return {};
}

// Removes the folder's regular files that `wanted` accepts. `caller` names the operation in the line
// of an exception; files removed before it stay removed.
void lf_removeFilesWhere(const fs::path& folder, const std::function<bool(const fs::path&)>& wanted,
                         std::string_view caller) {
    try {
        if (!fs::is_directory(folder)) return;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file() || !wanted(entry.path())) continue;
            std::error_code ec;
            if (!fs::remove(entry.path(), ec) && ec) {
                gf_logError(
                    fmt::format("Failed to remove {} ({})", path_to_utf8(entry.path()), ec.message()));
            }
        }
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} exception: {}", caller, e.what()));
    }
}

}  // namespace

const fs::path& g_dataDirectory() {
    static const fs::path directory = gf_appDataPath() / "Merrowvale";
    return directory;
}

const fs::path& g_parametersFile() {
    static const fs::path file = g_dataDirectory() / "parameters.xml";
    return file;
}

std::optional<fs::path> gf_knownFolderPath(platform::KnownFolder folder) {
    return platform::knownFolderPath(folder);
}

fs::path gf_appDataPath() {
    return lf_knownFolderOrLog(platform::KnownFolder::RoamingAppData, "Could not find the AppData path");
}

fs::path gf_localAppDataPath() {
    return lf_knownFolderOrLog(platform::KnownFolder::LocalAppData, "Could not find the Local AppData path");
}

void gf_removeFile(const fs::path& path) {
    if (!fs::exists(path)) return;
    std::error_code ec;
    fs::remove(path, ec);
    if (ec)
        gf_logError(
            fmt::format("Warning: could not remove {}, errorcode: {}", path_to_utf8(path), ec.message()));
}

void gf_removeFilesFromDirectory(const fs::path& folder) {
    lf_removeFilesWhere(
        folder, [](const fs::path&) { return true; }, "gf_removeFilesFromDirectory");
}

void gf_removeXMLFilesFromDirectory() {
    lf_removeFilesWhere(g_tbloFolder, lf_hasXmlExtension, "gf_removeXMLFilesFromDirectory");
}

std::size_t gf_countRegularFiles(fs::directory_iterator entries) {
    return static_cast<std::size_t>(
        std::count_if(fs::begin(entries), fs::end(entries),
                      [](const fs::directory_entry& e) { return e.is_regular_file(); }));
}

std::size_t gf_countFiles(const fs::path& folder) {
    if (!fs::exists(folder)) return 0;
    return gf_countRegularFiles(fs::directory_iterator(folder));
}

std::vector<FixedCode<4>> gf_listXmlCodes(const fs::path& folder) {
    std::vector<FixedCode<4>> codes;
    std::error_code ec;
    if (!fs::exists(folder, ec)) return codes;
    fs::directory_iterator entries(folder, ec);
    if (ec) return codes;

    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : entries) {
        const fs::path& path = entry.path();
        if (entry.is_regular_file() && lf_hasXmlExtension(path) && path.stem().native().size() == 4) {
            files.push_back(path);
        }
    }
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });

    codes.reserve(std::max(kExpectedAirportFiles, files.size()));
    for (const fs::path& file : files) {
        try {
            codes.emplace_back(path_to_utf8(file.stem()));
        } catch (const std::invalid_argument&) {
            // The folder is the user's: one stray file must not hide the other airports.
            gf_logError(fmt::format("{} is not named after an airport code, skipped", path_to_utf8(file)));
        }
    }
    return codes;
}

bool gf_openContainingFolder(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec) || !path.has_parent_path()) return false;
    return platform::openFolder(path.parent_path()) > 32;
}

}  // namespace mrw

#include "airports/package_manifest.h"

#include <exception>
#include <string_view>
#include <system_error>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "aircraft/publishers.h"
#include "airports/airport_file.h"
#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"

namespace fs = std::filesystem;

namespace mrw {
namespace {

constexpr int kManifestLevels = 7;

// The path without its last element, trailing separators ignored.
fs::path lf_parentOf(const fs::path& path) {
    std::string text = path_to_utf8(path);
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\'))
        text.pop_back();
    return utf8_to_path(text).parent_path();
}

void lf_report(std::string line) {
    g_scanReport.push_back(std::move(line));
}

std::optional<FixedCode<4>> lf_knownOrHandled(FixedCode<4> code, bool& handled, std::string_view where) {
    if (gf_isKnownAirport(code)) return code;
    handled = true;
    lf_report(fmt::format("no supported airport '{}' in {}", code.view(), where));
    return std::nullopt;
}

std::optional<FixedCode<4>> lf_codeOfBgl(AirportFile& file, bool& handled) {
    const IcaoCodeInText inPath = gf_icaoInText(file.bglPathText);
    if (inPath.found) {
        lf_report(fmt::format("airport has code '{}' in BGL path", inPath.code.view()));
        return lf_knownOrHandled(inPath.code, handled, "BGL path");
    }
    lf_report("no airport code found in BGL path");
    const std::string stem = path_to_utf8(file.sourcePath.stem());
    if (stem.size() == 4) {
        const FixedCode<4> code(stem);
        if (gf_isKnownAirport(code)) {
            lf_report(fmt::format("code '{}' as stem", code.view()));
            return code;
        }
        handled = true;
        lf_report(fmt::format("no supported airport code '{}' as stem", code.view()));
        return std::nullopt;
    }
    gf_searchManifestOnce(file);
    if (!file.manifest) return std::nullopt;
    const IcaoCodeInText inTitle = gf_icaoInText(file.manifest->title);
    if (!inTitle.found) return std::nullopt;
    lf_report(fmt::format("airport has code '{}' in title of manifest", inTitle.code.view()));
    return lf_knownOrHandled(inTitle.code, handled, "title of manifest");
}

}  // namespace

std::string gf_jsonString(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) return {};
    if ((found->is_object() || found->is_array()) && found->empty()) return {};
    return found->get<std::string>();
}

fs::path gf_findManifestFile(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return {};
    const auto options =
        fs::directory_options::follow_directory_symlink | fs::directory_options::skip_permission_denied;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, options)) {
        const fs::path& path = entry.path();
        if (path.extension() == ".json" && path.stem() == "manifest" && entry.is_regular_file(error))
            return path;
    }
    return {};
}

std::optional<ManifestData> gf_readManifest(const fs::path& path) {
    TextFile file(path);
    const auto read = file.readLines(48);
    if (!std::holds_alternative<const LineList*>(read) || file.lines().empty()) return std::nullopt;
    std::string text;
    for (const std::string& line : file.lines())
        text += line;
    const nlohmann::json json = nlohmann::json::parse(text);
    if (!json.is_object()) return std::nullopt;
    ManifestData data;
    data.version = gf_jsonString(json, "package_version");
    if (data.version.empty()) data.version = gf_jsonString(json, "version");
    data.title = gf_jsonString(json, "title");
    data.manufacturer = gf_jsonString(json, "manufacturer");
    data.creator = gf_jsonString(json, "creator");
    return data;
}

std::optional<ManifestData> gf_searchManifest(const fs::path& path) {
    try {
        fs::path dir = lf_parentOf(path);
        for (int level = 0; level < kManifestLevels; ++level) {
            const fs::path manifest = gf_findManifestFile(dir);
            if (!manifest.empty()) {
                if (auto data = gf_readManifest(manifest)) return data;
            }
            const fs::path parent = lf_parentOf(dir);
            if (parent == dir || parent.empty()) break;
            dir = parent;
        }
    } catch (const std::exception& e) {
        lf_report(fmt::format("exception in gf_searchManifest: {}", e.what()));
    }
    return std::nullopt;
}

void gf_searchManifestOnce(AirportFile& file) {
    if (file.manifestSearched) return;
    file.manifest = gf_searchManifest(file.sourcePath);
    file.manifestSearched = true;
}

std::optional<FixedCode<4>> gf_airportCodeOfBgl(AirportFile& file, bool& handled) {
    handled = false;
    try {
        return lf_codeOfBgl(file, handled);
    } catch (const std::exception& e) {
        lf_report(fmt::format("Exception {}", e.what()));
        return std::nullopt;
    }
}

void gf_airportPublisher(AirportFile& file) {
    if (gf_containsNoCase(file.sourcePath, "microsoft-airport") ||
        gf_containsNoCase(file.sourcePath, "asobo-airport")) {
        file.publisher = "simaddon";
        lf_report(fmt::format("publisher: {}", file.publisher));
        return;
    }
    if (auto publisher = gf_publisherOfPath(file.bglPathText)) {
        file.publisher = *publisher;
        lf_report(fmt::format("publisher: {}", file.publisher));
        return;
    }
    gf_searchManifestOnce(file);
    if (!file.manifest) return;
    auto publisher = gf_publisherOfPath(file.manifest->manufacturer);
    if (!publisher) publisher = gf_publisherOfPath(file.manifest->creator);
    if (!publisher) return;
    file.publisher = *publisher;
    lf_report(fmt::format("publisher '{}'", file.publisher));
}

}  // namespace mrw

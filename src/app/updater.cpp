#include "app/updater.h"
#include "app/updater_internal.h"

#include "app/main_window.h"
#include "app/new_version.h"
#include "config/parameter_catalogue.h"
#include "foundation/downloader.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/version_data.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace mrw {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

const fs::path kVersionsFile{"versions.json"};
constexpr double kMaxVersionNumber = 999999;

void lf_logUpdated(std::string_view key, const VersionData& version) {
    gf_logLine(fmt::format("{} updated to {}", key, version.toString()));
}

void lf_logUpToDate(std::string_view key) {
    gf_logLine(fmt::format("{} version up-to-date", key));
}

void lf_logVersionNotFound(std::string_view key) {
    gf_logError(fmt::format("{} version not found", key));
}

// One of "major", "minor", "patch": an integer as it is, a floating-point number cut towards zero,
// a bool as 1 or 0. The bound is checked on the double, before any conversion to int could be
// undefined.
int lf_versionNumber(const json& version, const char* member) {
    const json& value = version.at(member);  // a missing member or a non-object throws
    const double number = value.is_boolean() ? (value.get<bool>() ? 1.0 : 0.0) : value.get<double>();
    if (!std::isfinite(number) || std::trunc(number) < 0 || std::trunc(number) > kMaxVersionNumber)
        throw std::out_of_range(
            fmt::format("\"{}\" {} is outside 0 to {}", member, value.dump(), kMaxVersionNumber));
    return static_cast<int>(std::trunc(number));
}

VersionData lf_webVersion(const json& document, std::string_view key) {
    const json& version = document.at(std::string(key));
    return VersionData(lf_versionNumber(version, "major"), lf_versionNumber(version, "minor"),
                       lf_versionNumber(version, "patch"));
}

// The web version of the key; nothing (after the warning that names the key and the reason) when
// the key's object is not a usable version.
std::optional<VersionData> lf_readWebVersion(const json& document, std::string_view key) {
    try {
        return lf_webVersion(document, key);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} version in {} skipped: {}", key, path_to_utf8(kVersionsFile), e.what()));
        return std::nullopt;
    }
}

bool lf_hasKey(const json& document, std::string_view key) {
    return document.is_object() && document.contains(std::string(key));
}

// versions.json goes in every case; a failed removal is only a warning.
void lf_removeVersionsFile() {
    std::error_code ec;
    fs::remove(kVersionsFile, ec);
    if (ec)
        gf_logError(
            fmt::format("Warning: could not remove {}: {}", path_to_utf8(kVersionsFile), ec.message()));
}

// The text of versions.json, or nothing when it cannot be downloaded or opened (each with its
// warning).
std::optional<std::string> lf_fetchVersionsText() {
    Downloader downloader;
    if (!downloader.download(gf_downloadsUrl() + path_to_utf8(kVersionsFile), kVersionsFile, false)) {
        gf_logError("Downloading version info from my web site failed!");
        return std::nullopt;
    }
    std::ifstream in(kVersionsFile, std::ios::binary);
    if (!in) {
        gf_logError("Cannot open versions.json");
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The document, or nothing after the warning when the text is no JSON.
std::optional<json> lf_parseVersions(std::string_view text) {
    try {
        return json::parse(text);
    } catch (const json::exception& e) {
        gf_logError(fmt::format("{} skipped: {}", path_to_utf8(kVersionsFile), e.what()));
        return std::nullopt;
    }
}

// A data file on the site: downloaded when the site has a newer version or the file is missing.
void lf_updateDataFile(std::string_view key, const VersionData& web, StringParameter& stored,
                       const fs::path& name, const fs::path& file) {
    if (!(web > VersionData(stored.current.get())) && fs::exists(file)) {
        lf_logUpToDate(key);
        return;
    }
    if (!gf_downloadFromSite(path_to_utf8(name), file)) return;  // the next run tries again
    stored.setAndSave(web.toString());
    lf_logUpdated(key, web);
}

// A scan whose version on the site is newer (or whose result file is missing) runs in this run.
void lf_switchScanOn(std::string_view key, const VersionData& web, CheckBoxParameter& scan,
                     StringParameter& stored, bool resultMissing) {
    if (!(web > VersionData(stored.current.get())) && !resultMissing) {
        lf_logUpToDate(key);
        return;
    }
    scan.current = true;
    scan.save();
    scan.showCheck();
    gf_invalidateControlPanel();
    stored.setAndSave(web.toString());
    lf_logUpdated(key, web);
}

void lf_updateDataSet(const json& document, std::string_view key) {
    if (!lf_hasKey(document, key)) {
        lf_logVersionNotFound(key);
        return;
    }
    const std::optional<VersionData> web = lf_readWebVersion(document, key);
    if (!web) return;
    auto& s = g_parameters();
    if (key == "airports") {
        lf_updateDataFile(key, *web, s.AIRPORTS_VERSION, g_airportsEncName, g_airportsEncFile);
    } else if (key == "aig") {
        lf_updateDataFile(key, *web, s.AIG_VERSION, g_aigRegcodesEncName, g_aigRegcodesEncFile);
    } else if (key == "liveries") {
        lf_switchScanOn(key, *web, s.SCAN_LIVERIES, s.LIV_SCAN_VERSION, !fs::exists(g_liveriesScannedFile));
    } else if (key == "addons") {
        lf_switchScanOn(key, *web, s.SCAN_AIRPORTS, s.ADDONS_SCAN_VERSION, false);
    } else if (key == "dbase") {
        lf_updateDataFile(key, *web, s.DBASE_VERSION, g_dbaseEncName, g_dbaseEncFile);
    }
}

// True when a newer program version was prepared and the run ends.
bool lf_newProgramVersionPrepared(const json& document) {
    constexpr std::string_view key = "msfs_app";
    if (!lf_hasKey(document, key)) {
        lf_logVersionNotFound(key);
        return false;
    }
    const std::optional<VersionData> web = lf_readWebVersion(document, key);
    if (!web) return false;
    gf_logLine(fmt::format("{} program version at web = {}", key, web->toString()));
    if (!(*web > g_programVersion)) {
        lf_logUpToDate(key);
        return false;
    }
    return gf_prepareNewVersion(*web);
}

}  // namespace

bool gf_checkVersions() {
    const std::optional<std::string> text = lf_fetchVersionsText();
    lf_removeVersionsFile();
    return !text || gf_applyVersions(*text);
}

bool gf_applyVersions(std::string_view text) {
    const std::optional<json> document = lf_parseVersions(text);
    if (!document) return true;
    if (lf_newProgramVersionPrepared(*document)) return false;
    for (const std::string_view key : {"airports", "aig", "liveries", "addons", "dbase"})
        lf_updateDataSet(*document, key);
    return true;
}

}  // namespace mrw

#include "airports/airport_file_generation.h"

#include <algorithm>
#include <system_error>

#include <fmt/format.h>

#include "aircraft/aircraft_database.h"
#include "aircraft/publishers.h"
#include "airports/airport_file_lookup.h"
#include "airports/airports_scan_report.h"
#include "airports/facility_reader.h"
#include "airports/package_manifest.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"
#include "foundation/window_model.h"

namespace fs = std::filesystem;

namespace mrw {
namespace {

constexpr std::string_view kSimaddon = "simaddon";

void lf_report(std::string line) {
    g_scanReport.push_back(std::move(line));
}

std::string lf_blanksAsPercent20(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ') {
            out += "%20";
        } else {
            out += c;
        }
    }
    return out;
}

void lf_createFolder(const fs::path& folder) {
    std::error_code error;
    const bool exists = fs::exists(folder, error);
    if (error) throw fs::filesystem_error("exists", folder, error);
    if (!exists && !fs::create_directory(folder, error) && error) {
        throw fs::filesystem_error("create_directory", folder, error);
    }
}

}  // namespace

bool gf_isAnonymousPackage(const AirportFile& file) {
    return file.manifest && file.manifest->manufacturer.size() < 4 && file.manifest->creator.size() < 4;
}

void gf_showAirportCount(std::atomic<std::int32_t>& counter, std::int32_t value) {
    counter = value;
    gf_invalidateStatusBand();
}

void gf_showAirportFileCounts() {
    MainWindow& window = g_mainWindow();
    gf_showAirportCount(window.simaddonCount, static_cast<std::int32_t>(gf_countFiles(g_mySimaddonFolder)));
    gf_showAirportCount(window.thirdPartyCount,
                        static_cast<std::int32_t>(gf_countFiles(g_myThirdpartyFolder)));
}

std::optional<std::string> lf_archivedSimaddonApf(FixedCode<4> code) {
    const std::string ref = fmt::format("archive/{}/{}", kSimaddon, gf_icaoXmlName(code));
    const CodeSet& listed = g_msfs2020 ? g_simaddons20() : g_simaddons24();
    if (listed.contains(code.str())) return ref;
    lf_report(fmt::format("{} does not exist as simaddon", code.view()));
    return std::nullopt;
}

std::optional<std::string> lf_archivedThirdpartyApf(const AirportFile& file) {
    const std::string base = "archive/thirdparty/" + lf_blanksAsPercent20(file.publisher) + "/";
    if (file.manifest) {
        const std::string key = gf_icaoVersionKey(file.code, file.manifest->version);
        if (gf_isThirdPartyAirport(g_msfs2020, file.publisher, key)) return base + key + ".xml";
    }
    if (gf_isThirdPartyAirport(g_msfs2020, file.publisher, file.code.view())) {
        return base + gf_icaoXmlName(file.code);
    }
    lf_report(fmt::format("thirdparty {} {} does not exist", file.publisher, file.code.view()));
    return std::nullopt;
}

bool lf_linkArchivedApf(AirportFile& file) {
    if (file.publisher.empty()) gf_airportPublisher(file);
    if (file.publisher.empty()) return false;
    const bool simaddon = file.publisher == kSimaddon;
    const auto ref = simaddon ? lf_archivedSimaddonApf(file.code) : lf_archivedThirdpartyApf(file);
    if (!ref) return false;
    const fs::path folder = simaddon ? g_mySimaddonFolder : g_myThirdpartyFolder;
    const fs::path link = folder / gf_icaoTxtPath(file.code);
    lf_createFolder(folder);
    if (!gf_writeTextLine(*ref, link)) {
        lf_report(fmt::format("{}Writing {} did not succeed", "===> ", path_to_utf8(link)));
        return false;
    }
    if (simaddon) {
        lf_report(fmt::format("{} airport {} linked to {}\n", kSimaddon, file.code.view(), *ref));
    } else {
        lf_report(fmt::format("thirdparty airport {} linked to {}\n", file.code.view(), *ref));
    }
    return true;
}

void lf_writeGeneratedApf(AirportFile& file, int helipadCount) {
    if (file.stands.empty()) {
        lf_report(fmt::format("{} has no stands", file.code.view()));
        return;
    }
    const fs::path folder = file.publisher == kSimaddon ? g_mySimaddonFolder : g_myThirdpartyFolder;
    const std::string helipads =
        helipadCount < 1 ? std::string{}
                         : fmt::format(" of which {} helipad{}", helipadCount, gf_pluralS(helipadCount));
    lf_report(fmt::format("Generated {}: {} position{}{}", gf_icaoXmlName(file.code), file.stands.size(),
                          gf_pluralS(file.stands.size()), helipads));
    const fs::path target = folder / gf_icaoXmlPath(file.code);
    std::sort(file.stands.begin(), file.stands.end(),
              [](const Stand& a, const Stand& b) { return a.id < b.id; });
    lf_createFolder(folder);
    if (!file.save(target, kApfGenerated, g_simId)) {
        lf_report(fmt::format("{}Writing {} did not succeed", "===> ", path_to_utf8(target)));
    }
}

bool lf_processFacilities(const fs::path& path) {
    const std::string text = path_to_utf8(path);
    lf_report(fmt::format("\nFac: {}", text));
    AirportFile file;
    file.sourcePath = path;
    file.bglPathText = text;
    gf_searchManifestOnce(file);
    bool handled = false;
    const auto code = gf_airportCodeOfBgl(file, handled);
    if (!code) return handled;
    file.code = *code;
    if (lf_linkArchivedApf(file)) {
        gf_showAirportFileCounts();
        return true;
    }
    if (gf_isAnonymousPackage(file)) return false;
    int helipads = 0;
    if (!gf_readFacilityStands(file.code.view(), file, helipads)) {
        const std::string line = fmt::format(
            "Reading Facilites data for {} via SimConnect failed, is MSFS connected?", file.code.view());
        gf_logLine(line);
        lf_report(line);
        gf_writeScanReport();
        return false;
    }
    lf_writeGeneratedApf(file, helipads);
    gf_showAirportFileCounts();
    return true;
}

}  // namespace mrw

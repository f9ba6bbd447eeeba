#include "airports/addon_folder_walk.h"

#include <algorithm>
#include <array>
#include <exception>
#include <string_view>
#include <system_error>

#include <fmt/format.h>

#include "aircraft/publishers.h"
#include "airports/airport_file.h"
#include "airports/airport_file_generation.h"
#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "airports/bgl_airport_reader.h"
#include "airports/bgl_file.h"
#include "airports/facility_reader.h"
#include "airports/tblo_packaging.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/text_encoding.h"
#include "foundation/window_model.h"

namespace fs = std::filesystem;

namespace mrw {
namespace {

constexpr std::array<std::string_view, 40> kSkippedPackageParts{"fs20-",
                                                                "-landingchallenge-",
                                                                "-cabin-services",
                                                                "-credits-override",
                                                                "-devmode-streamed",
                                                                "-livingworld",
                                                                "-fa18e-character",
                                                                "-jetways",
                                                                "-material-lib",
                                                                "-palettelib",
                                                                "-procedural-hangar-",
                                                                "-eventtriggers",
                                                                "-event-rescuechallenge",
                                                                "-discovery-",
                                                                "-challenges-",
                                                                "-aircraft-",
                                                                "-ships-",
                                                                "-certification-",
                                                                "-training-",
                                                                "-activities-",
                                                                "-passiveaircraft-",
                                                                "-trainings-",
                                                                "-fs-base-",
                                                                "-runway-lights",
                                                                "-travelbook-",
                                                                "-simobjects-",
                                                                "-airrace-",
                                                                "-procedural-",
                                                                "-palette-",
                                                                "-spotlight-",
                                                                "-modellib-",
                                                                "-texturelib",
                                                                "-textlib",
                                                                "-scenery-",
                                                                "-surface-",
                                                                "-vfx-",
                                                                "-coverage-",
                                                                "-point-of-interest",
                                                                "-proceduralgeneration",
                                                                "-simattachmentlib-"};

constexpr std::array<std::string_view, 3> kSimulatorAirportParts{"asobo-airport", "microsoft-airport",
                                                                 "microsoft-eddk"};

constexpr std::array<std::string_view, 13> kSkippedFolderWords{
    "tutorials",  "aircraft",  "bushtrip",        "discovery",           "point-of-interest",
    "simobjects", "vcockpits", "aig-aitraffic",   "justflight-aircraft", "fsltl",
    "gsx-pro",    "gsx-world", "landingchallenge"};

constexpr std::array<std::string_view, 7> kSkippedFileWords{
    "statics",         "afcad updates",    "_heliports",   "duijffmedia-eham-remove",
    "immersivelights", "immersive-lights", "bksq-scenery-"};

constexpr std::size_t kPathUnitLimit = 250;

template <std::size_t N>
bool lf_containsAny(std::string_view text, const std::array<std::string_view, N>& parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [text](std::string_view part) { return text.find(part) != std::string_view::npos; });
}

// The entry's path below the walked folder, as UTF-8 text.
std::string lf_below(const fs::path& entry, const fs::path& root) {
    return path_to_utf8(entry.lexically_relative(root));
}

void lf_report(std::string line) {
    g_scanReport.push_back(std::move(line));
}

// Link, else facility data and a generated file; the streamed walk has no BGL fallback.
void lf_linkOrGenerate(AirportFile& file) {
    if (lf_linkArchivedApf(file)) return;
    int helipads = 0;
    if (gf_readFacilityStands(file.code.view(), file, helipads)) {
        lf_writeGeneratedApf(file, helipads);
        return;
    }
    const std::string line = fmt::format(
        "Reading Facilites data for {} via SimConnect failed, is MSFS connected?", file.code.view());
    gf_logLine(line);
    lf_report(line);
    gf_writeScanReport();
}

// The code of a streamed package from its path; nothing (with its report line) when none is known.
std::optional<FixedCode<4>> lf_packageCode(const std::string& pathText) {
    const IcaoCodeInText found = gf_icaoInText(pathText);
    if (!found.found) return std::nullopt;
    if (!gf_isKnownAirport(found.code)) {
        lf_report("no supported airport ICAO in BGL path");
        return std::nullopt;
    }
    return found.code;
}

void lf_simulatorPackage(const fs::path& package, const std::string& pathText, int& count) {
    lf_report(fmt::format("\n{}", pathText));
    const auto code = lf_packageCode(pathText);
    if (!code) return;
    lf_report(fmt::format("airport has '{}' in directory path", code->view()));
    if (++count % 10 == 0) gf_showAirportCount(g_mainWindow().simaddonCount, count);
    AirportFile file;
    file.code = *code;
    file.sourcePath = package;
    file.bglPathText = pathText;
    file.publisher = "simaddon";
    file.manifest = ManifestData{"", "", "microsoft", "asobo"};
    lf_linkOrGenerate(file);
}

void lf_publisherPackage(const fs::path& package, const std::string& pathText) {
    lf_report(fmt::format("\n{}", pathText));
    const auto code = lf_packageCode(pathText);
    if (!code) return;
    lf_report(fmt::format("airport has '{}' in folder path", code->view()));
    gf_writeScanReport();
    AirportFile file;
    file.code = *code;
    file.sourcePath = package;
    file.bglPathText = pathText;
    if (auto publisher = gf_publisherOfPath(pathText)) {
        file.publisher = *publisher;
        lf_report(fmt::format("publisher '{}' found", file.publisher));
    }
    gf_writeScanReport();
    lf_linkOrGenerate(file);
}

bool lf_stopRequested() {
    if (!gf_stopping()) return false;
    gf_writeScanReport();
    return true;
}

// One BGL file of the recursive walk.
void lf_processBglCandidate(const fs::path& path) {
    if (lf_processFacilities(path)) return;
    lf_report("Facilities reader did not succeed, trying the BGL file reader ...");
    lf_processBGLfile(path);
}

std::string lf_lowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

// A BGL file with an airport section that no filter excludes.
bool lf_isBglCandidate(const fs::directory_entry& entry, const fs::path& root) {
    std::error_code error;
    if (!entry.is_regular_file(error)) return false;
    if (lf_lowerAscii(path_to_utf8(entry.path().extension())) != ".bgl") return false;
    if (lf_containsAny(lf_below(entry.path(), root), kSkippedFileWords)) return false;
    return gf_bglHasAirport(entry.path());
}

// The folder's entries sorted by name; a folder that cannot be listed has none.
std::vector<fs::directory_entry> lf_sortedEntries(const fs::path& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

// The recursive walk below `root`, depth first in name order; false once the run is stopping. An
// exception while one entry is handled is reported and the walk goes on.
bool lf_walkBglFolder(const fs::path& folder, const fs::path& root) {
    for (const fs::directory_entry& entry : lf_sortedEntries(folder)) {
        std::error_code error;
        const bool isFolder = entry.is_directory(error) && !entry.is_symlink(error);
        try {
            if (lf_isSkippedFolder(entry.path(), root)) continue;
            if (!isFolder && lf_isBglCandidate(entry, root)) {
                if (gf_stopping()) return false;
                lf_processBglCandidate(entry.path());
            }
        } catch (const std::exception& e) {
            lf_report(fmt::format("{} airports search in folder {} aborted, cause: {}", "===> ",
                                  path_to_utf8(root), e.what()));
            continue;
        }
        if (isFolder && !lf_walkBglFolder(entry.path(), root)) return false;
    }
    return true;
}

}  // namespace

bool lf_isSkippedFolder(const fs::path& entry, const fs::path& root) {
    if (utf8_to_wide(path_to_utf8(entry)).size() >= kPathUnitLimit) return true;
    const std::string below = lf_lowerAscii(lf_below(entry, root));
    return below.find(path_to_utf8(g_fsBaseName)) != std::string::npos ||
           lf_containsAny(below, kSkippedFolderWords);
}

void lf_scanStreamedAirports(const fs::path& folder) {
    gf_setMessage("Scanning for streamed airports ...", false);
    const std::string header =
        fmt::format("\n***** Scanning for streamed airports in:\n{}\n", path_to_utf8(folder));
    gf_logLine(header);
    lf_report(header);
    int count = 0;
    const auto options =
        fs::directory_options::follow_directory_symlink | fs::directory_options::skip_permission_denied;
    std::vector<fs::path> packages;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, options)) {
        std::error_code error;
        const fs::file_status status = entry.status(error);
        if (error && error != std::errc::no_such_file_or_directory) {
            throw fs::filesystem_error("status", entry.path(), error);
        }
        if (fs::is_directory(status)) packages.push_back(entry.path());
    }
    std::sort(packages.begin(), packages.end());
    for (const fs::path& package : packages) {
        const std::string name = lf_below(package, folder);
        if (lf_containsAny(name, kSkippedPackageParts)) continue;
        if (lf_stopRequested()) break;
        const std::string pathText = path_to_utf8(package);
        if (lf_containsAny(name, kSimulatorAirportParts)) {
            lf_simulatorPackage(package, pathText, count);
        } else {
            lf_publisherPackage(package, pathText);
        }
        if (lf_stopRequested()) break;
    }
    lf_copySimaddonToTblo();
    gf_showAirportCount(g_mainWindow().simaddonCount,
                        static_cast<std::int32_t>(gf_countFiles(g_mySimaddonFolder)));
}

void lf_scanAirportFolder(const fs::path& folder) {
    const std::string header =
        fmt::format("\n***** Scanning for {} airports in:\n{}\n", "addon", path_to_utf8(folder));
    gf_setMessage(header, true);
    lf_report(header);
    lf_walkBglFolder(folder, folder);
}

void lf_scanFolders(const std::vector<fs::path>& folders) {
    for (const fs::path& folder : folders) {
        if (folder.empty()) continue;
        const fs::file_status status = fs::status(folder);
        const std::string text = path_to_utf8(folder);
        if (!fs::exists(status)) {
            gf_setMessage(text + " does not exist, skipped!", true);
        } else if (!fs::is_directory(status)) {
            gf_setMessage(text + " is not a folder name, skipped!", true);
        } else if (text.find("StreamedPackages") != std::string::npos) {
            lf_scanStreamedAirports(folder);
        } else {
            lf_scanAirportFolder(folder);
        }
    }
}

}  // namespace mrw

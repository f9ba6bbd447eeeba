#include "aircraft/liveries_scan.h"

#include "aircraft/liveries_scan_internal.h"
#include "aircraft/liveries_scan_state.h"
#include "aircraft/liveries_scanned_xml.h"
#include "aircraft/livery_folder_search.h"
#include "aircraft/livery_folders.h"
#include "aircraft/regcode_store.h"
#include "aircraft/regcode_store_internal.h"

#include "aircraft/scan_report_files.h"
#include "config/control_updates.h"
#include "config/packages_folder.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/user_error_exception.h"
#include "foundation/version_data.h"
#include "foundation/window_model.h"
#include "platform/system/message_box.h"

#include <fmt/format.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>

namespace mrw {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxPriority = 10;
constexpr std::string_view kCaption = "MRWV";

enum class FolderScan { Complete, Stopped, NothingFound };

void lf_disablePackageSelector() {
    gf_enableControl(g_parameters().AI_PACKAGE_SELECTOR, false);
}

void lf_setLiveriesCount(std::uint64_t count) {
    g_mainWindow().liveriesCount = count;
    gf_invalidateStatusBand();
}

// Searches one existing folder; the number of liveries it added.
std::size_t lf_searchFolder(const LiveriesScanStatePtr& state, int priority, const fs::path& folder) {
    auto& list = g_scannedLiveries();
    const std::size_t before = list.size();
    gf_searchLiveriesinFolder(state, priority, folder);
    const std::size_t n = list.size() - before;
    const std::string where = fmt::format("found in {}", path_to_utf8(folder));
    if (n == 0) {
        gf_logLine(fmt::format("No liveries {}", where));
    } else {
        gf_logLine(fmt::format("{} liverie{} {}", n, gf_pluralS(n), where));
    }
    return n;
}

// Searches the folders in order and, when liveries were found, thins, sorts, de-duplicates and
// writes them with the reports. Each scan has its own state, so nothing of an earlier (stopped or
// fruitless) scan reaches it, and a worker that outlives its wait touches only its own scan's state.
FolderScan lf_scanLiveryFolders(const LiveryFolderList& folders) {
    auto& list = g_scannedLiveries();
    list.clear();
    gf_removeScanReports();
    lf_readDontUseTitles();
    const auto state = std::make_shared<LiveriesScanState>(g_dontUseTitles());
    int priority = 0;
    std::size_t total = 0;
    for (const fs::path& folder : folders) {
        if (folder.empty()) continue;
        const fs::file_status status = fs::status(folder);  // throws for errors other than not found
        if (!fs::exists(status)) {
            gf_logLine(fmt::format("{} does not exist, skipped!", path_to_utf8(folder)));
            continue;
        }
        if (!fs::is_directory(status)) {
            gf_logLine(fmt::format("{} is not a folder name, skipped!", path_to_utf8(folder)));
            continue;
        }
        if (priority < kMaxPriority) ++priority;
        if (gf_stopping()) return FolderScan::Stopped;
        total += lf_searchFolder(state, priority, folder);
    }
    if (gf_stopping()) return FolderScan::Stopped;
    if (list.empty()) {
        lf_setLiveriesCount(0);
        return FolderScan::NothingFound;
    }
    if (folders.size() > 1) gf_logLine(fmt::format("{} in total", total));
    if (g_parameters().LIG_PRIORITIZE.current) gf_thinByPriority(list);
    gf_sortLiveries(list);
    list.unique();
    const bool saved = gf_writeLiveriesScanned();
    list.clear();
    gf_writeScanReports(state->reports);
    g_dontUseTitles().clear();
    gf_clearMessage();
    if (!saved) {
        throw std::runtime_error(
            fmt::format("Writing {} failed, see Log.txt", path_to_utf8(g_liveriesScannedFile)));
    }
    return FolderScan::Complete;
}

void lf_endScan() {
    gf_logLine("\n++++++++++++++++++++++++ liveries scan ends ++++++++++++++++++++++++++++++++\n");
}

// The folders to search, in order. None: UserErrorException 43 (automatic) or, after opening the
// manual's and the settings' folders for the user, 48 (manual).
LiveryFolderList lf_folderList(bool automatic) {
    LiveryFolderList folders;
    folders.reserve(kMaxPriority);
    if (automatic) {
        gf_autoDetectAiPackages(gf_installPathOf(g_communityName), folders);
    } else {
        gf_collectLfolders(folders);
    }
    if (!folders.empty()) return folders;
    if (automatic) {
        g_parameters().AI_PACKAGE_SELECTOR.enable();
        throw UserErrorException(
            43,
            "Automatic scan has not found any AI packages, choose a different selection (or "
            "go to Manual mode, see Manual 5.2)");
    }
    gf_openManualFolder();
    gf_openParametersFolder();
    throw UserErrorException(
        48, fmt::format(
                "Exit {} first!   Then set one or more lfolder parameters to your liveries, see Manual 5.2",
                kProductName));
}

}  // namespace

void gf_thinByPriority(std::list<LiveryData>& liveries) {
    using Combination = std::tuple<CodeIndex, CodeIndex, CodeIndex>;
    std::map<Combination, std::int16_t> smallest;
    const auto combination = [](const LiveryData& l) {
        return Combination{l.codes.airline, l.codes.operatorAirline, l.codes.model};
    };
    for (const LiveryData& livery : liveries) {
        const auto [it, added] = smallest.emplace(combination(livery), livery.priority);
        if (!added && livery.priority < it->second) it->second = livery.priority;
    }
    liveries.remove_if([&](const LiveryData& l) { return l.priority > smallest.at(combination(l)); });
}

LiveriesScanResult gf_scanLiveries() {
    ParameterCatalogue& parameters = g_parameters();
    const bool automatic = parameters.LIG_AUTOMATIC.current;
    lf_disablePackageSelector();
    gf_setMessage(
        fmt::format("Scanning {}for liveries ...", parameters.LIG_PRIORITIZE.current ? "prioritized " : ""),
        false);
    gf_logLine(
        fmt::format("\n++++++++++++++++++++++++ liveries scan {} starts ++++++++++++++++++++++++++++++++",
                    automatic ? "automatic" : "manual"));
    lf_setLiveriesCount(0);

    switch (lf_scanLiveryFolders(lf_folderList(automatic))) {
        case FolderScan::Stopped:
            lf_endScan();
            return LiveriesScanResult::Stopped;
        case FolderScan::NothingFound:
            if (automatic) {
                parameters.AI_PACKAGE_SELECTOR.enable();
                throw UserErrorException(
                    143,
                    "Automatic scan has not found any liveries, choose a different selection, or "
                    "switch off automatic and set lfolder parameter(-s)");
            }
            throw UserErrorException(53, "no liveries found");
        case FolderScan::Complete:
            break;
    }
    parameters.SCAN_LIVERIES.current = false;
    parameters.SCAN_LIVERIES.save();
    parameters.SCAN_LIVERIES.showCheck();
    gf_invalidateControlPanel();
    parameters.AI_PACKAGE_SELECTOR.enable();
    gf_invalidateStatusBand();
    lf_endScan();
    return LiveriesScanResult::Completed;
}

bool gf_openParametersFolder() {
    if (gf_openContainingFolder(g_parametersFile())) return true;
    platform::showWarningMessageBox("Could not open folder with parameters.xml", kCaption);
    return false;
}

bool gf_openManualFolder() {
    if (gf_openContainingFolder(fs::current_path() / g_docsFolder / "Manual.pdf")) return true;
    platform::showWarningMessageBox("Could not open local folder with Manual", kCaption);
    return false;
}

}  // namespace mrw

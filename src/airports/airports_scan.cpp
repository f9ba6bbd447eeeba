#include "airports/airports_scan.h"

#include <fstream>
#include <system_error>

#include <fmt/format.h>

#include "airports/addon_folder_walk.h"
#include "airports/airport_file_generation.h"
#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "airports/facility_reader.h"
#include "airports/tblo_packaging.h"
#include "config/packages_folder.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"

namespace fs = std::filesystem;

namespace mrw {
namespace {

constexpr std::size_t kReportCapacity = 2048;

// Closes the facility connection and drops the scan's codes however the scan ends.
class ScanStateGuard {
  public:
    ScanStateGuard() = default;
    ScanStateGuard(const ScanStateGuard&) = delete;
    ScanStateGuard& operator=(const ScanStateGuard&) = delete;
    ~ScanStateGuard() {
        try {
            gf_closeFacilityConnection();
        } catch (...) {
            // A failed log line must not hide the scan's own exception.
        }
        g_icaoAirportCodes.clear();
    }
};

void lf_prepareTblo() {
    std::error_code error;
    const bool exists = fs::exists(g_tbloFolder, error);
    if (error) throw fs::filesystem_error("exists", g_tbloFolder, error);
    if (exists) {
        gf_removeFilesFromDirectory(g_tbloFolder);
    } else if (!fs::create_directory(g_tbloFolder, error) && error) {
        throw fs::filesystem_error("create_directory", g_tbloFolder, error);
    }
}

void lf_removePreviousReport() {
    std::error_code error;
    fs::remove(g_airportsScanLogFile, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        gf_logLine("problems with removing previous files (maybe still open?): " + error.message());
    }
}

void lf_packTblo() {
    const std::size_t files = gf_countFiles(g_tbloFolder);
    if (files == 0) {
        g_tbloFileCount = 0;
        gf_logLine("All your simaddon and third party airports are recognised, no off line learning needed.");
        return;
    }
    if (!gf_zipFolder(g_tbloZipFile)) gf_logError("Zippen TBLO folder failed");
    gf_removeXMLFilesFromDirectory();
    g_tbloFileCount = files;
    g_parameters().tbloZipButton.enable();
    gf_invalidateControlPanel();
    gf_logLine(
        fmt::format("\nPlease send {} to the maker of Merrowvale: your add-on airports in it will then be "
                    "added to the archive.\n",
                    path_to_utf8(fs::absolute(g_tbloZipFile))));
}

bool lf_runAirportsScan(const std::vector<fs::path>& folders) {
    gf_logLine(fmt::format("The scan will search {} folder{}", folders.size(), gf_pluralS(folders.size())));
    lf_removePreviousReport();
    g_tbloFileCount = 0;
    if (g_scanReport.capacity() < kReportCapacity) g_scanReport.reserve(kReportCapacity);
    lf_scanFolders(folders);
    g_scanReport.push_back("\nAirpoprts scan finished!");  // spelled so: users know the line
    gf_writeScanReport();
    gf_logLine(path_to_utf8(g_airportsScanLogFile) + " written");
    gf_clearMessage();
    g_scanReport.clear();
    lf_copyThirdpartyToTblo();
    lf_packTblo();
    gf_showAirportFileCounts();
    return g_mainWindow().thirdPartyCount != 0;
}

void lf_airportsScan(const std::vector<fs::path>& folders) {
    gf_removeFilesFromDirectory(g_mySimaddonFolder);
    gf_removeFilesFromDirectory(g_myThirdpartyFolder);
    if (!lf_runAirportsScan(folders)) gf_setMessage("Warning: Scan has not found any add-on airports", true);
    CheckBoxParameter& scanAirports = g_parameters().SCAN_AIRPORTS;
    scanAirports.current = false;
    scanAirports.save();
    scanAirports.showCheck();
    gf_invalidateControlPanel();
}

}  // namespace

std::vector<fs::path> gf_airportScanFolders() {
    std::vector<fs::path> folders;
    folders.reserve(10);
    for (const fs::path& name : {g_msfs2020 ? g_officialName : g_streamedPackagesName, g_communityName}) {
        fs::path folder = gf_installPathOf(name);
        if (!folder.empty()) folders.push_back(std::move(folder));
    }
    return folders;
}

void gf_readIcaoAirports() {
    g_icaoAirportCodes.clear();
    std::ifstream in(g_icaoAirportsFile, std::ios::binary);
    if (!in.is_open()) {
        throw UserErrorException(522, fmt::format("File '{}' is missing?", path_to_utf8(g_icaoAirportsFile)));
    }
    LineList lines;
    gf_streamToLines(in, lines);
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        std::size_t start = 0;
        for (;;) {
            const std::size_t comma = line.find(',', start);
            g_icaoAirportCodes.insert(FixedCode<4>(std::string_view(line).substr(start, comma - start)));
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    gf_logLine(fmt::format("{} ICAO codes of airports read", g_icaoAirportCodes.size()));
}

void gf_scanAirports() {
    const ScanStateGuard guard;
    gf_setMessage("Scanning for airports ...", false);
    gf_logLine(fmt::format("\n++++++++++++++++++++++++ airports scan {} starts +++++++++++++++++++++++++++++",
                           "automatic "));
    gf_showAirportCount(g_mainWindow().simaddonCount, 0);
    gf_showAirportCount(g_mainWindow().thirdPartyCount, 0);
    gf_readIcaoAirports();
    lf_prepareTblo();
    lf_airportsScan(gf_airportScanFolders());
    if (g_tbloFileCount == 0) fs::remove_all(g_tbloFolder);
    gf_invalidateStatusBand();
    gf_closeFacilityConnection();
    g_icaoAirportCodes.clear();
    gf_logLine("-------------------------- airports scan ends -------------------------------\n");
}

}  // namespace mrw

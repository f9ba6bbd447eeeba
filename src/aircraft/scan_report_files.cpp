#include "aircraft/scan_report_files.h"

#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>

namespace mrw {

namespace {

namespace fs = std::filesystem;

enum class LineOrder { Sorted, SortedOnce, Collected };

// One report file of output/errors: its collection, the order of its lines and its summary line.
struct ErrorReport {
    const ReportLines ScanReports::*lines;
    const fs::path& file;
    LineOrder order;
    std::string (*what)(std::size_t count);
};

// The summary line: the count and what it counts, then the file.
std::string lf_summary(const ErrorReport& report, std::size_t count) {
    return fmt::format("{}, see {}", report.what(count), path_to_utf8(report.file));
}

// In the order the files are written.
const std::array<ErrorReport, 5>& lf_errorReports() {
    static const auto* reports = new std::array<ErrorReport, 5>{{
        {&ScanReports::invalidAirlineLines, g_invalidAirlineCodesFile, LineOrder::Sorted,
         [](std::size_t n) { return fmt::format("{:5} invalid airline code{}", n, gf_pluralS(n)); }},
        {&ScanReports::invalidModelLines, g_invalidAircraftCodesFile, LineOrder::Sorted,
         [](std::size_t n) { return fmt::format("{:5} invalid model code{}", n, gf_pluralS(n)); }},
        {&ScanReports::fixLines, g_fixesFile, LineOrder::Collected,
         [](std::size_t n) { return fmt::format("{:5} fixes", n); }},
        {&ScanReports::invalidCfgFileLines, g_invalidAircraftCfgFilesFile, LineOrder::Sorted,
         [](std::size_t n) { return fmt::format("{:5} invalid aircraft.cfg files", n); }},
        {&ScanReports::incompleteSectionLines, g_incompleteFltsimSectionsFile, LineOrder::SortedOnce,
         [](std::size_t n) { return fmt::format("{:5} incomplete [fltsim.x] sections", n); }},
    }};
    return *reports;
}

// Writes the lines; the summary line when that succeeded, else an error line.
void lf_writeReport(const std::vector<std::string>& lines, const fs::path& file, const std::string& summary) {
    if (gf_writeLines(lines, file)) {
        gf_logLine(summary);
    } else {
        gf_logError(fmt::format("Failed to write {}", path_to_utf8(file)));
    }
}

// Sorted by bytes, adjacent repeats dropped on request, into output/errors (created when missing;
// a failure there is thrown).
void lf_writeSortedReport(const ErrorReport& report, std::vector<std::string> lines, std::size_t count) {
    std::sort(lines.begin(), lines.end());
    if (report.order == LineOrder::SortedOnce)
        lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    const fs::path folder = report.file.parent_path();
    if (!fs::exists(folder)) fs::create_directory(folder);
    lf_writeReport(lines, report.file, lf_summary(report, count));
}

// Fixes.txt keeps the order of collection; its failures are only logged.
void lf_writeFixesReport(const ErrorReport& report, std::vector<std::string> lines, std::size_t count) {
    try {
        fs::create_directories(report.file.parent_path());
        lf_writeReport(lines, report.file, lf_summary(report, count));
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("Error writing file {}: {}", path_to_utf8(report.file), e.what()));
    }
}

}  // namespace

void gf_removeScanReports() {
    const std::array<const fs::path*, 9> paths{
        &g_noFltsimSectionFile,         &g_liveriesScannedFile,          &g_inlineRegcodesFile,
        &g_invalidAirlineCodesFile,     &g_invalidAircraftCodesFile,     &g_fixesFile,
        &g_invalidAircraftCfgFilesFile, &g_incompleteFltsimSectionsFile, &g_errorsFolder};
    try {
        for (const fs::path* path : paths)
            fs::remove(*path);
    } catch (const fs::filesystem_error& e) {
        gf_logLine(fmt::format("problems with removing previous files: {}", e.what()));
    }
}

void gf_writeScanReports(const ScanReports& reports) {
    const auto& errorReports = lf_errorReports();
    const bool anyError = std::any_of(errorReports.begin(), errorReports.end(),
                                      [&](const ErrorReport& r) { return (reports.*r.lines).count() != 0; });
    gf_logLine(anyError ? "\nErrors:" : "\nNo errors");
    for (const ErrorReport& report : errorReports) {
        const ReportLines& collected = reports.*report.lines;
        const std::size_t count = collected.count();
        if (count == 0) continue;
        if (report.order == LineOrder::Collected) {
            lf_writeFixesReport(report, collected.lines(), count);
        } else {
            lf_writeSortedReport(report, collected.lines(), count);
        }
    }
    gf_logLine("\nInformation:");
    if (const std::size_t n = reports.noFltsimSectionFiles.count()) {
        std::vector<std::string> lines = reports.noFltsimSectionFiles.lines();
        std::sort(lines.begin(), lines.end());
        lf_writeReport(
            lines, g_noFltsimSectionFile,
            fmt::format("{:5} empty aircraft.cfg files, see {}", n, path_to_utf8(g_noFltsimSectionFile)));
    }
}

}  // namespace mrw

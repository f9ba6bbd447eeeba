#pragma once
// The findings of one liveries scan: six collections of report lines that the scan workers fill at
// the same time, each under its own mutex, and that the report files are written from.
//
// Each scan has its own ScanReports object, held by shared_ptr by every worker of the scan, so that
// a worker that outlives its time-out adds to its own scan's object, which the driver no longer
// reads once the report files are written.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/thread_safety.h"

namespace mrw {

// A growing list of report lines; add() may be called from any number of threads at once.
class ReportLines {
  public:
    void add(std::string line);
    // A copy of the lines in the order they were added.
    std::vector<std::string> lines() const;
    std::size_t count() const;

  private:
    mutable Mutex m_mutex;
    std::vector<std::string> m_lines GUARDED_BY(m_mutex);
};

struct ScanReports {
    ReportLines invalidAirlineLines;     // InvalidAirlineCodes.txt
    ReportLines invalidModelLines;       // InvalidAircraftCodes.txt
    ReportLines fixLines;                // Fixes.txt
    ReportLines invalidCfgFileLines;     // InvalidAircraftCfgFiles.txt
    ReportLines incompleteSectionLines;  // IncompleFltsimSections.txt
    ReportLines noFltsimSectionFiles;    // AircraftCfgWithNoFltsimSection.txt

    // "{:12} in {} " with the code and the cfg path, then the text (the section's header line).
    void addInvalidAirline(std::string_view code, const std::filesystem::path& cfgPath,
                           std::string_view text);
    // "{:16} in {}" with the code and the cfg path.
    void addInvalidModel(std::string_view code, const std::filesystem::path& cfgPath);
    void addFix(std::string line) { fixLines.add(std::move(line)); }
    void addInvalidCfgFile(std::string line) { invalidCfgFileLines.add(std::move(line)); }
    void addIncompleteSection(std::string line) { incompleteSectionLines.add(std::move(line)); }
};

// A path as report lines show it: the narrow text of the ANSI code page. Throws std::runtime_error
// for a character the code page cannot hold (the worker then drops its file).
std::string gf_narrowPathText(const std::filesystem::path& path);

}  // namespace mrw

#include "aircraft/scan_reports.h"

#include "foundation/text_encoding.h"

#include <fmt/format.h>

namespace mrw {

void ReportLines::add(std::string line) {
    MutexLock lock(m_mutex);
    m_lines.push_back(std::move(line));
}

std::vector<std::string> ReportLines::lines() const {
    MutexLock lock(m_mutex);
    return m_lines;
}

std::size_t ReportLines::count() const {
    MutexLock lock(m_mutex);
    return m_lines.size();
}

void ScanReports::addInvalidAirline(std::string_view code, const std::filesystem::path& cfgPath,
                                    std::string_view text) {
    // Built whole before the collection's lock is taken.
    invalidAirlineLines.add(fmt::format("{:12} in {} {}", code, gf_narrowPathText(cfgPath), text));
}

void ScanReports::addInvalidModel(std::string_view code, const std::filesystem::path& cfgPath) {
    invalidModelLines.add(fmt::format("{:16} in {}", code, gf_narrowPathText(cfgPath)));
}

std::string gf_narrowPathText(const std::filesystem::path& path) {
    return gf_utf8ToAnsi(path_to_utf8(path));
}

}  // namespace mrw

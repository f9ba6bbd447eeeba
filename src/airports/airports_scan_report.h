#pragma once
// The report of the current airports scan, one entry per line (an entry may begin or end with a
// line feed), written to output/info/AirportsScanLog.txt. Main worker only.

#include <string>
#include <vector>

namespace mrw {

inline std::vector<std::string> g_scanReport;

// Writes the whole report, replacing the file; false when it could not be written.
bool gf_writeScanReport();

}  // namespace mrw

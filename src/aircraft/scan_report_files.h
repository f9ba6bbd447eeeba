#pragma once
// The report files of a liveries scan in output/errors and output/info, written from the scan's
// collections, with their summary lines in Log.txt.

#include "aircraft/scan_reports.h"

namespace mrw {

// Removes the previous report files, LiveriesScanned.xml, InlineRegcodes.txt and then the folder
// output/errors when it is empty. The first failure is logged and ends the removal; never throws.
void gf_removeScanReports();

// Writes the report files of the non-empty collections and their summary lines. A file that cannot
// be written gives an error line instead of its summary. A folder output/errors that cannot be made
// throws the file-system error.
void gf_writeScanReports(const ScanReports& reports);

}  // namespace mrw

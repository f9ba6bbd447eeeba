#include "airports/airports_scan_report.h"

#include "foundation/file_names.h"
#include "foundation/text_file.h"

namespace mrw {

bool gf_writeScanReport() {
    return gf_writeLines(g_scanReport, g_airportsScanLogFile);
}

}  // namespace mrw

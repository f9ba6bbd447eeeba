#pragma once
// The one aircraft model of an aircraft.cfg file: from the IVAO folder name, or from the file's
// icao_type_designator or base_container keys. A code the aircraft database does not know is
// corrected through its fixes or reported; the empty result means the file yields nothing.

#include "aircraft/scan_reports.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace mrw {

// The model from the folder name of an IVAO_MTL or ivao_x-csl aircraft (IVAO_<code>).
std::string gf_modelFromIvaoPath(const std::filesystem::path& cfgPath, ScanReports& reports);
// The model from the first icao_type_designator line, else from the base_container lines.
std::string gf_modelFromCfg(const std::filesystem::path& cfgPath, const std::vector<std::string>& lines,
                            ScanReports& reports);
std::string gf_modelFromBaseContainer(const std::filesystem::path& cfgPath,
                                      const std::vector<std::string>& lines, ScanReports& reports);

// The text after "IVAO_" of the aircraft folder when the path is
// <something>/IVAO_MTL|ivao_x-csl/SimObjects/Airplanes/IVAO_<word>/aircraft.cfg (case-blind), else "".
std::string gf_ivaoFolderCode(std::string_view pathText);

}  // namespace mrw

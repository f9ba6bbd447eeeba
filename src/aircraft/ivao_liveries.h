#pragma once
// The liveries of one aircraft.cfg of the IVAO packages (IVAO_MTL, ivao_x-csl): the model comes from
// the aircraft folder's name, the airline from the livery title, and each section's texture folder
// must exist. Shares the title claims and the reports with the generic files of the same scan.

#include "aircraft/liveries_scan_state.h"
#include "aircraft/livery_data.h"

#include <filesystem>
#include <list>
#include <string>
#include <string_view>

namespace mrw {

// The worker body for one IVAO aircraft.cfg; exceptions are logged and passed on.
std::list<LiveryData> gf_searchLiveriesinIVAOFile(LiveriesScanState& state, int priority,
                                                  const std::filesystem::path& cfgPath);

// The airline code of an IVAO title: the title must begin with the model code (then "W" for the W
// folders), white space, and three letters, digits or underscores, kept as written; "" otherwise.
// The model code is compared without regard to case.
std::string gf_ivaoTitleAirline(std::string_view title, std::string_view model, bool wFolder);

}  // namespace mrw

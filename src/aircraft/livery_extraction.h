#pragma once
// The liveries of one generic aircraft.cfg file: at most one LiveryData per [fltsim.N] section,
// with its title, airline, model, cargo flag and registration. What makes a file or a section
// unusable goes to the scan's reports or to Log.txt; nothing stops the scan.

#include "aircraft/liveries_scan_state.h"
#include "aircraft/livery_data.h"

#include <filesystem>
#include <list>

namespace mrw {

// The worker body for one generic aircraft.cfg. An exception (a path the ANSI code page cannot
// hold, for one) is logged and passed on; the file's liveries are then lost.
std::list<LiveryData> gf_searchLiveriesinFile(LiveriesScanState& state, int priority,
                                              const std::filesystem::path& cfgPath);

}  // namespace mrw

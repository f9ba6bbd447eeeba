#pragma once
// The search of one livery folder: every aircraft.cfg below it goes to a file processor on one of
// g_scanThreadLimit reused worker threads; the results are taken in the order
// the walk found the files, each waited for at most 10 seconds, and appended to g_scannedLiveries.

#include "aircraft/liveries_scan_state.h"

#include <filesystem>

namespace mrw {

// Searches the folder and appends what it finds to g_scannedLiveries. Throws nothing of its own:
// failures are logged and passed over. Ends early, giving up the pending files, when the run is
// stopping. Workers keep `state` alive for as long as they run.
void gf_searchLiveriesinFolder(const LiveriesScanStatePtr& state, int priority,
                               const std::filesystem::path& folder);

}  // namespace mrw

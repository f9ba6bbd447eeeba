#pragma once
// The folder search with its file processor and wait made replaceable, for the tests.

#include "aircraft/liveries_scan_state.h"
#include "aircraft/livery_data.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <list>

namespace mrw {

using LiveryFileProcessor =
    std::function<std::list<LiveryData>(LiveriesScanState&, int, const std::filesystem::path&)>;

struct FolderSearchSetup {
    // The processor for one aircraft.cfg path.
    std::function<LiveryFileProcessor(const std::filesystem::path&)> chooseProcessor;
    // The longest wait for one file's result, and for a free worker slot.
    std::chrono::milliseconds resultWait{10000};
};

// The generic processor, or the IVAO one for a path holding "ivao_x-csl" or "IVAO_MTL".
LiveryFileProcessor gf_chooseProcessor(const std::filesystem::path& cfgPath);

// True for a regular file named aircraft.cfg in any letter case (aircraft.cfg.bak is not).
bool gf_isAircraftCfg(const std::filesystem::directory_entry& entry);

// True when the walk must not enter the entry: its part below the searched folder holds one of the
// excluded names, or its whole path is 250 bytes of UTF-8 or longer.
bool gf_isExcludedSubtree(const std::filesystem::path& folder, const std::filesystem::path& entry);

// The search, appending to `out`.
void gf_searchFolder(const LiveriesScanStatePtr& state, int priority, const std::filesystem::path& folder,
                     std::list<LiveryData>& out, const FolderSearchSetup& setup);

}  // namespace mrw

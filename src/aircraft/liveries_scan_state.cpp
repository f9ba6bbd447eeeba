#include "aircraft/liveries_scan_state.h"

#include <gsl/narrow>

#include <functional>

namespace mrw {

bool LiveriesScanState::claimTitle(const std::string& title) {
    TitleShard& shard = m_titleShards[std::hash<std::string>{}(title) % kTitleShards];
    MutexLock lock(shard.mutex);
    return shard.titles.insert(title).second;
}

LiveryData gf_makeLiveryData(LiveriesScanState& state, int priority, const AcDesignation& designation,
                             std::string title, std::string registration) {
    // An incomplete record never takes its title, so that a later complete section keeps it.
    if (designation.airline == 0 || designation.model == 0 || !state.claimTitle(title)) return {};
    LiveryData livery;
    livery.title = std::move(title);
    livery.registration = std::move(registration);
    livery.codes = designation;
    livery.priority = gsl::narrow<std::int16_t>(priority);
    return livery;
}

}  // namespace mrw

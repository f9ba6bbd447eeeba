#pragma once
// What the workers of one liveries scan share: the titles claimed so far, the don't-use titles and
// the report collections. Each scan makes a new object; every worker holds it by shared_ptr, so a
// worker that outlives its time-out never touches the state of a later scan or a destroyed one.

#include "aircraft/livery_data.h"
#include "aircraft/scan_reports.h"
#include "foundation/thread_safety.h"

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace mrw {

class LiveriesScanState {
  public:
    // The don't-use titles are copied: they are only read while workers run.
    explicit LiveriesScanState(const std::vector<std::string>& dontUseTitles = {})
        : m_dontUseTitles(dontUseTitles.begin(), dontUseTitles.end()) {}

    ScanReports reports;

    // True when the title was new to the scan and is now taken by the caller.
    bool claimTitle(const std::string& title);
    bool isDontUseTitle(const std::string& title) const { return m_dontUseTitles.count(title) != 0; }

  private:
    // The claimed titles, spread by their hash over shards with a lock each, so that workers
    // claiming at the same time seldom wait for one another.
    struct alignas(64) TitleShard {
        Mutex mutex;
        std::unordered_set<std::string> titles GUARDED_BY(mutex);
    };
    static constexpr std::size_t kTitleShards = 64;

    std::array<TitleShard, kTitleShards> m_titleShards;
    const std::unordered_set<std::string> m_dontUseTitles;
};

using LiveriesScanStatePtr = std::shared_ptr<LiveriesScanState>;

// The filled record when the designation has an airline and a model and the title was new to the
// scan (it is then claimed); else the empty record, and the title stays free.
LiveryData gf_makeLiveryData(LiveriesScanState& state, int priority, const AcDesignation& designation,
                             std::string title, std::string registration);

}  // namespace mrw

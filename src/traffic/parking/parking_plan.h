#pragma once
// The static parking plan and the state that a calculation or an adjustment keeps while it runs:
// the entries still to be made (taken from the back), the fit offsets at which the last searches
// ended, the live parked aircraft and static aircraft an adjustment keeps, the statics it removes,
// and the uses a search passed over. Main worker only.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "aircraft/ac_designation.h"
#include "traffic/model/aircraft_records.h"

namespace mrw {

// One static aircraft to be made.
struct ParkingPlanEntry {
    std::int32_t standNumber = 0;
    // Half hours before now at which the use's half hours were matched; 0 = it covers now.
    std::int32_t fitOffset = 0;
    AcDesignation designation;
    std::string optionCallsign;
    std::string optionCallsign2;  // empty when the use has none
    std::string registration;
    bool useFirstCallsign = true;  // false: the aircraft carries the second callsign
};

// Ordered by fitOffset descending after a calculation or adjustment: the back fits best.
inline std::vector<ParkingPlanEntry> g_parkingPlan;

// The fit offset at which the last real-mode search ended, and that of the last soft-mode search
// (-1 after a real-mode search).
inline std::int32_t g_fitOffsetReal = 0;
inline std::int32_t g_fitOffsetSoft = -1;

// A live aircraft that stays parked; minutesParked 0 for one exempt from the parked-time limit.
struct LiveParkedEntry {
    std::string callsign;
    std::int32_t standNumber = 0;
    std::int32_t minutesParked = 0;
};
// Sorted by minutesParked ascending: the back is the longest parked.
inline std::vector<LiveParkedEntry> g_liveParked;

// A static aircraft that stays.
struct StaticReviewEntry {
    std::string staticCallsign;  // with its '*'
    std::string optionCallsign;
    std::string optionCallsign2;
    std::string registration;
    AcDesignation designation;
    WeekSlot parkedSince;
    std::int32_t standNumber = 0;
    bool replace = false;  // to be made again under its second callsign
};
// Sorted by parkedSince descending: the back is the earliest parked.
inline std::vector<StaticReviewEntry> g_staticReview;

struct StaticRemoval {
    std::string callsign;
    std::int32_t standNumber = 0;
};
inline std::vector<StaticRemoval> g_staticRemovals;

// Uses a search passed over because their aircraft was already planned or parked: (stand number
// << 32) | position in the stand's use list. They keep their sequence numbers, so the learned file
// keeps them; the adjustments and a new stand list forget them.
inline std::unordered_set<std::uint64_t> g_skippedUses;

// The number of the last static aircraft made in the process (1 to 9999).
inline std::int32_t g_staticNumber = 0;

}  // namespace mrw

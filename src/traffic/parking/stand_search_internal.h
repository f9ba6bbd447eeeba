#pragma once
// The steps of the stand search, for the tests. They run inside a SearchScope, which builds the
// search's lookups (half hours per stand, statics per stand, counted names of the plan) and drops
// them at its end; lf_searchAllModes opens its own.

#include <cstdint>
#include <string>
#include <vector>

#include "airports/stand.h"
#include "traffic/parking/parking_plan.h"

namespace mrw {

class SearchScope {
  public:
    SearchScope();
    ~SearchScope();
    SearchScope(const SearchScope&) = delete;
    SearchScope& operator=(const SearchScope&) = delete;
};

void lf_searchParkingMode(WeekSlot slot, int wanted, int existing, bool real, bool today);
// True when `wanted` stands are planned; the last offset's candidates are left in `candidates`.
bool lf_findParkingPositions(WeekSlot slot, bool real, bool today, int wanted,
                             std::vector<ParkingPlanEntry>& candidates);
// One pass over the stands for one fit offset.
void lf_searchStands(WeekSlot slot, bool real, bool today, int fitOffset,
                     std::vector<ParkingPlanEntry>& candidates);
// Puts the use of a static aircraft that stands here under its callsign first, else shuffles.
void lf_pickUse(std::vector<std::int32_t>& uses, const Stand& stand);
// The use's aircraft is already planned (also by this pass), reported live, or parked.
bool lf_isPlannedOrParked(const StandOption& use);
bool lf_isLiveCallsign(const std::string& callsign);
// Drops `surplus` candidates: at random with RANDOM on, else the last ones.
void lf_thinCandidates(int surplus, std::vector<ParkingPlanEntry>& candidates);

}  // namespace mrw

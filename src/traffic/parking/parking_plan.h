#pragma once
// The parking plan: static aircraft still to be created at the park airport, taken from the back.

#include <cstdint>
#include <vector>

namespace mrw {

struct ParkingPlanEntry {
    std::int32_t standNumber = 0;
};

inline std::vector<ParkingPlanEntry> g_parkingPlan;

}  // namespace mrw

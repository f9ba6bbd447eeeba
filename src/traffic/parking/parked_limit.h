#pragma once
// Keeping the parked live and static aircraft within the parked limit. Main worker only.

#include <cstdint>
#include <vector>

namespace mrw {

struct ParkedLive {
    std::uint32_t hexid = 0;
    std::int64_t secondsParked = 0;
};

// The active parked live aircraft, longest parked first.
void lf_collectParkedLive(std::vector<ParkedLive>& list);
// The parked limit (MainWindow::maxPark); `extra` counts an aircraft parking now. At most one live
// and one static aircraft go per call.
void lf_enforceMaxPark(bool extra);
// Removes the n longest-parked live aircraft.
void lf_removeLiveParkedAt(std::int32_t n);

}  // namespace mrw

#pragma once
// The rules that keep the aircraft counts within their limits, the live aircraft the user can
// select in the main window, and ObjectIdList.txt. Main worker only, apart from g_selectedObjectId.

#include <atomic>
#include <cstdint>
#include <vector>

namespace mrw {

// Object id of the live aircraft selected through CALLSIGN_2_OBJECTID; 0 = none. Read and cleared
// by the window's handlers as well.
inline std::atomic<std::uint32_t> g_selectedObjectId{0};

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
// Removes one active live aircraft beyond d + 0.1 nm from the user, the farthest for d < 0; true
// when none was removed.
bool gf_removeFarthestLiveAc(double distanceNm);
// Clears the main window's selection of a live aircraft.
void gf_clearSelectedAc();
// Refills the selectable callsigns; true when there is at least one.
bool lf_refreshSelectableAcs();
// Writes output/info/ObjectIdList.txt: one line per active live aircraft.
void lf_writeObjectIdList();

}  // namespace mrw

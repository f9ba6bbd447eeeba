#pragma once
// The rules that keep the aircraft counts within their limits and the live aircraft the user can
// select in the main window. Main worker only, apart from g_selectedObjectId.

#include <atomic>
#include <cstdint>

namespace mrw {

// Object id of the live aircraft selected through CALLSIGN_2_OBJECTID; 0 = none.
inline std::atomic<std::uint32_t> g_selectedObjectId{0};

// Removes one active live aircraft beyond d + 0.1 nm from the user, the farthest for d < 0; true
// when none was removed.
bool gf_removeFarthestLiveAc(double distanceNm);
// Clears the main window's selection of a live aircraft.
void gf_clearSelectedAc();

}  // namespace mrw

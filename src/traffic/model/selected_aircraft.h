#pragma once
// The live aircraft the user selects in the main window (CALLSIGN_2_OBJECTID) and the callsigns
// offered for it. Main worker only, apart from g_selectedObjectId.

#include <atomic>
#include <cstdint>

namespace mrw {

// Object id of the live aircraft selected through CALLSIGN_2_OBJECTID; 0 = none. Read and cleared
// by the window's handlers as well.
inline std::atomic<std::uint32_t> g_selectedObjectId{0};

// Clears the main window's selection of a live aircraft.
void gf_clearSelectedAc();
// Refills the selectable callsigns; true when there is at least one.
bool lf_refreshSelectableAcs();

}  // namespace mrw

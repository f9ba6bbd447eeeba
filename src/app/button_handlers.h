#pragma once
// The push buttons of the main window's panel, and the small operations that other code shares with
// them. UI thread, apart from lf_announceParkingUpdate, which the main loop's renewal calls too.

#include <cstdint>
#include <string>

#include "platform/win32/win32_types.h"

namespace mrw {

// True when the id is a push button and its action ran (false for tblo.zip when its folder could
// not be opened).
bool lf_onButton(HWND hwnd, std::uint16_t id);
// Announces a static-parking update at the main worker's next 15-second duty and raises its request.
void lf_announceParkingUpdate();
// Ends the blocking of the callsign in BLOCK_CALLSIGN, if any.
void lf_unblockCallsign();
// Makes the callsign the blocked one.
void lf_blockSelectedCallsign(const std::string& callsign);

}  // namespace mrw

#pragma once
// The user's park airports: airports/my_park_airports.txt (one airport a line, optionally with the
// stand kept free for the user there) and the add-on airports of airports/my_thirdparty, held
// nearest first while the user flies.
//
// Three threads use the list and its file: the main worker, the UI thread (a typed destination) and
// the SimConnect client thread (the user's stand). g_parkAirportsMutex guards g_parkAirports, the
// file and the code of g_parkAirport as the other threads compare it. It is recursive, so a holder
// may call gf_writeMyParkAirports. Lock order: it is taken before the Log.txt and message-line
// mutexes, and never held across a window message.

#include <list>
#include <string>

#include "foundation/fixed_code.h"
#include "foundation/lalo.h"
#include "foundation/thread_safety.h"

namespace mrw {

struct ParkAirportEntry {
    std::string reservedStand;  // the stand kept free for the user; empty = none
    Lalo position;
    double distanceNm = 0.0;  // from the user aircraft at the last ordering
    FixedCode<4> code;
};

inline RecursiveMutex g_parkAirportsMutex;
// The front entry is the one the next write saves.
inline std::list<ParkAirportEntry> g_parkAirports GUARDED_BY(g_parkAirportsMutex);
// The user position of the last full ordering. Main worker only.
inline Lalo g_lastParkSortPosition;

// Reads the file anew, then the my_thirdparty airports. False when a line named an unknown airport
// or the file could not be read; true otherwise, also without a file.
bool lf_readMyParkAirports();
// Writes the front entry's line into the file (replacing every line of its airport, or adding one)
// and rewrites the file sorted, each line once.
void gf_writeMyParkAirports();
// Orders the list nearest first from the user position (unless a destination is set).
void lf_findParkAirport(const Lalo& position);
// Makes the airport with the code the park airport; false when the airports database lacks it.
bool lf_logParkAirport(FixedCode<4> code);
// The Re-read: reads the file again, puts the destination in front and applies a changed reserved
// stand of the park airport; fills the text for the message line. False when the reading failed.
bool lf_checkParkAirports(bool checkReservedStand, std::string& message);
// Makes the airport the front entry; a new airport is written to the file.
void gf_addParkAirport(FixedCode<4> code, const Lalo& position);

}  // namespace mrw

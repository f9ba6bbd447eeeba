#pragma once
// The rules that take live and static aircraft out of each other's way, off the user's stand and
// path, and that keep one real aircraft from being in the simulator twice. Each removes at most one
// aircraft per call (apart from lf_removeAllStatics). Main worker only.

#include <string>
#include <string_view>

#include "foundation/lalo.h"
#include "traffic/model/aircraft_records.h"

namespace mrw {

// The user position at the last check of lf_removeStaticsNearUser.
inline Lalo g_staticsCheckPosition;

// Removes the live ghost (the callsign followed by '_') of a spawning callsign.
void lf_removeGhost(std::string_view callsign);
// Whether a live aircraft not being removed has the callsign without its last character.
bool lf_isGhostOfLive(std::string_view callsign);
// Removes the first active static aircraft that stands for the same aircraft as the new live one.
void lf_removeStaticDuplicate(const AircraftIdentity& live);
// Removes every static aircraft (queued creations are withdrawn).
void lf_removeAllStatics();
// Removes the aircraft that stands on the user's stand of that name.
void lf_clearUserStand(const std::string& standName);
// For each moving live aircraft on the ground that moved since its last check: removes a static
// aircraft in its way.
void lf_clearStaticsInLivePaths();
// Removes an active static aircraft that is the twin of a live aircraft on the ground.
void lf_removeStaticTwins();
// In the air: removes a live aircraft on the ground in the user's line below 500 ft, or one in the
// user's path.
void lf_removeLiveInUserPath();
// On the ground: removes a live aircraft touching the user, or, once the user moved, a static one.
void lf_removeStaticsNearUser();

}  // namespace mrw

#pragma once
// Finding an aircraft record of the engine's lists. Main worker only; a pointer is valid until the
// list changes.

#include <cstdint>

#include "traffic/engine/aircraft_records.h"

namespace mrw {

// The first live aircraft with the hexid, or null.
LiveAc* gf_liveAcOfHexid(std::uint32_t hexid);
// The first live aircraft with the simulator object id (not 0), or null.
LiveAc* gf_liveAcOfObject(std::uint32_t objectId);
// The first static aircraft with the number, or null.
StaticAc* gf_staticAcOfNumber(std::uint32_t number);
// The first static aircraft with the simulator object id (not 0), or null.
StaticAc* gf_staticAcOfObject(std::uint32_t objectId);

}  // namespace mrw

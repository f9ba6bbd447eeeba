#pragma once
// The aircraft commands: client events for one AI object, appended to the outbound queue under
// g_simConnectMutex (each command's events stay together) and sent on the next simulator frame.
// The commands on a StaticAc (traffic/engine/aircraft_records.h) remember the last throttle and
// flaps index and skip what a rotorcraft cannot do.

#include <cstdint>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// The seven light switches of one aircraft: 1 on, 0 off.
struct LightSet {
    std::uint32_t nav = 0;
    std::uint32_t beacon = 0;
    std::uint32_t landing = 0;
    std::uint32_t taxi = 0;
    std::uint32_t strobes = 0;
    std::uint32_t logo = 0;
    std::uint32_t cabin = 0;
};

void gf_startEngines(std::uint32_t objectId);
void gf_shutDownEngines(std::uint32_t objectId);
// Nav, beacon, landing, taxi, strobes, logo, cabin, in this order.
void gf_setLights(std::uint32_t objectId, const LightSet& lights);
void gf_setNavLights(std::uint32_t objectId, std::uint32_t value);
void gf_setCabinLights(std::uint32_t objectId, std::uint32_t value);

// Flaps index 0 to 4 (0, 3072, 10240, 16383, 0). Nothing for an unchanged index or a rotorcraft;
// an index outside 0..4 writes "gf_setFlaps: invalid flaps index" and sends nothing, but is stored.
void gf_setFlaps(StaticAc& aircraft, std::int32_t flapsIndex);

}  // namespace mrw

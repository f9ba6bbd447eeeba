#pragma once
// The simulator's client events that the world understands, and their effect on an object.

#include <string_view>

#include "platform/simconnect/sim_world.h"

namespace standin {

bool gf_isClientEvent(std::string_view simEvent);
// Applies a known event and records it in the object's event list.
void gf_applyClientEvent(SimObject& object, std::string_view simEvent, DWORD data);

}  // namespace standin

#pragma once
// The aircraft commands: client events for one AI object, appended to the outbound queue under
// g_simConnectMutex and sent on the next simulator frame.

#include <cstdint>

namespace mrw {

void gf_setNavLights(std::uint32_t objectId, std::uint32_t value);

}  // namespace mrw

#pragma once
// Changes that the window's handlers ask of the engine's aircraft. The UI thread never touches the
// main worker's lists (and never waits for the worker, whose window messages wait for the UI
// thread): it files a request, and the main worker serves it at its next beat.

#include <cstdint>

namespace mrw {

// NAV_LIGHTS_WHILE_PARKED changed: the active static aircraft and the active parked live aircraft
// get their navigation lights set to the value. A newer request replaces one not yet served.
void gf_requestNavLights(bool on);
// MAX_LIVE_SEL lowered: the farthest active live aircraft are removed until at most `limit` remain.
void gf_requestLiveLimit(std::int32_t limit);

// Main worker, once per beat: serves what was asked since the last call.
void gf_serveWindowRequests();

}  // namespace mrw

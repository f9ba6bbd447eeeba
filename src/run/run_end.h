#pragma once
// How a run ends: closing. The stop request and the exit reason themselves live in
// foundation/run_state.h, where every floor's long loops test them.

#include "foundation/run_state.h"

namespace mrw {

// Mark closing (window closed, the main worker giving up, production stop): the window-closing flag,
// the RealTraffic link closed, USER CLOSED SIM unless a reason is set already, then g_stopRequested.
// No delay is written.
void gf_markClosing();

}  // namespace mrw

#pragma once
// How a run ends: closing and the simulator switch. The stop request and the exit reason
// themselves live in foundation/run_state.h, where every floor's long loops test them.

#include "foundation/run_state.h"

namespace mrw {

// Mark closing (window closed, the main worker giving up, production stop): the window-closing flag,
// the RealTraffic link closed, USER CLOSED SIM unless a reason is set already, then g_stopRequested.
// No delay is written.
void gf_markClosing();

// The other simulator version for the next run: scans on, catalogue rebuilt, NEW SETTINGS (3 s).
// Called from the UI thread (SIM_CHOICE) and from the SimConnect client thread.
void lf_switchSimVersion();
// The SimConnect client's connection ended in an error; with the switch flag the simulator
// version is switched, without it the run ends as SIM WAS CLOSED.
void gf_simDisconnected(bool switchSim);

}  // namespace mrw

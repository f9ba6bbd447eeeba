#pragma once
// The switch to the other simulator version, and the end of the simulator's connection.

namespace mrw {

// The other simulator version for the next run: scans on, catalogue rebuilt, NEW SETTINGS (3 s).
// Called from the UI thread (SIM_CHOICE) and from the SimConnect client thread.
void lf_switchSimVersion();
// The SimConnect client's connection ended in an error; with the switch flag the simulator
// version is switched, without it the run ends as SIM WAS CLOSED.
void gf_simDisconnected(bool switchSim);

}  // namespace mrw

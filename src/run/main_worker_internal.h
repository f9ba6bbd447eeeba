#pragma once
// The main worker's start-up steps, for the tests.

#include "config/parameter.h"

namespace mrw {

// lf_closingDown that never throws; used when an exception leaves the worker's body.
void lf_closingDownNoThrow();
// Parameters, controls, folders, updater, databases, packages folder and RealTraffic mode; false
// when the run ends here.
bool lf_detectInstallation();
void lf_initControls();
void lf_createFolders();
void lf_productionStop();
// Cuts a trailing "\Community" (or "/Community") off the install path and saves what is left.
void gf_cutCommunityEnding(StringParameter& installPath);

}  // namespace mrw

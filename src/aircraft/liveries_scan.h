#pragma once
// The liveries scan: finds the AI liveries installed in the simulator and keeps them in
// LiveriesScanned.xml, with report files of what it could not use. Runs on the main worker.

namespace mrw {

enum class LiveriesScanResult {
    Completed,  // LiveriesScanned.xml and the reports are written; SCAN_LIVERIES is off
    Stopped,    // the run is stopping: nothing written, SCAN_LIVERIES unchanged
};

// Runs one scan. Throws UserErrorException 43, 48, 53 or 143 when no folder or no livery is found,
// std::runtime_error when LiveriesScanned.xml cannot be written (SCAN_LIVERIES then stays on), and
// what the folder selection and the report files throw.
LiveriesScanResult gf_scanLiveries();

// Open the folder of parameters.xml, or the program's docs folder with the manual, for a user who
// has set no livery folder; on failure a warning box and false.
bool gf_openParametersFolder();
bool gf_openManualFolder();

}  // namespace mrw

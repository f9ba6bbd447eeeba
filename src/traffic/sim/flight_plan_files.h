#pragma once
// The AI flight-plan files of the live aircraft: one small AceXML file per created aircraft with an
// origin and a destination, named after its simulator object id, in the folder orig_dest of the
// data directory. Main worker only.

#include <cstdint>
#include <filesystem>

#include "traffic/model/aircraft_records.h"

namespace mrw {

// g_dataDirectory() / "orig_dest"; empty until gf_createFlightPlanFolder has run.
inline std::filesystem::path g_flightPlanFolder;

// Sets g_flightPlanFolder and creates it with any missing parents; a creation error is logged as
// "gf_createFlightPlanFolder: {}". Returns whether the folder exists (a file of its name does not
// count); a failing query throws std::filesystem::filesystem_error.
bool gf_createFlightPlanFolder();

// g_flightPlanFolder / "{objectId}.pln".
std::filesystem::path gf_flightPlanPath(std::uint32_t objectId);

// Writes the plan of the aircraft: IFR for Buzjets, Large and Heavy, VFR for the others, its origin
// and destination codes (three blanks for an empty one). The file is replaced whole: false when it
// could not be written, and then no half file is left.
bool gf_writeFlightPlan(const std::filesystem::path& path, const AcProfile& profile);

}  // namespace mrw

#pragma once
// Every airport the airports scan finds ends here: when the maker's archive holds a file for it, a
// link file pointing there is written; otherwise an airport file is generated from the stands of
// the simulator's facility data or of the BGL file. Simulator airports go to airports/my_simaddon,
// the others to airports/my_thirdparty.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "airports/airport_file.h"
#include "foundation/fixed_code.h"

namespace mrw {

// One BGL file of the recursive walk through the facility reader; false asks the walk to try the
// BGL reader.
bool lf_processFacilities(const std::filesystem::path& path);
// Writes the link file when the archive holds a file for the airport; true only when the link file
// was written (a failed write leaves the airport to generation).
bool lf_linkArchivedApf(AirportFile& file);
std::optional<std::string> lf_archivedSimaddonApf(FixedCode<4> code);
std::optional<std::string> lf_archivedThirdpartyApf(const AirportFile& file);
// Writes the generated file (stands sorted by id); nothing for a file without stands.
void lf_writeGeneratedApf(AirportFile& file, int helipadCount);
// Whether the package's manifest names neither a manufacturer nor a creator of 4 bytes or more:
// such packages may be linked but never generated.
bool gf_isAnonymousPackage(const AirportFile& file);
// Sets the window's two airport counters from the files in the two folders.
void gf_showAirportFileCounts();
// Sets one counter of the window and repaints the status band.
void gf_showAirportCount(std::atomic<std::int32_t>& counter, std::int32_t value);

}  // namespace mrw

#pragma once
// The walks of the airports scan over the simulator's package folders: the streamed-packages folder
// one level deep (each package folder an airport candidate), Community and Official folders
// recursively for BGL files with an airport section. Filters are tested on the path below the
// folder being walked, so the install path itself never silences a walk.

#include <filesystem>
#include <vector>

namespace mrw {

void lf_scanFolders(const std::vector<std::filesystem::path>& folders);
void lf_scanStreamedAirports(const std::filesystem::path& folder);
void lf_scanAirportFolder(const std::filesystem::path& folder);
// Whether the recursive walk of `root` leaves the entry out: a full path of 250 or more UTF-16
// units, or a folder word in the lower-cased path below the root.
bool lf_isSkippedFolder(const std::filesystem::path& entry, const std::filesystem::path& root);

}  // namespace mrw

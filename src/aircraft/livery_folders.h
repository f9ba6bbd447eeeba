#pragma once
// The ordered list of folders a liveries scan searches: the lfolder settings (manual mode), or the
// AI traffic packages found in the simulator's Community folder in the order AI_PACKAGE_SELECTOR
// names them, followed by the user's own user-aitraffic folder (automatic mode).

#include <filesystem>
#include <vector>

namespace mrw {

using LiveryFolderList = std::vector<std::filesystem::path>;

// Appends the set lfolder0 ... lfolder9 in order, skipping empty ones. Throws UserErrorException 243
// (after an error line) for a path that does not exist, std::runtime_error for a value that is not
// UTF-8.
void gf_collectLfolders(LiveryFolderList& folders);

// Appends the package folders of the selected ordering, then the user-aitraffic folder. Throws
// std::runtime_error "AI_PACKAGE_SELECTOR not set" when its value is none of its choices, and the
// file-system error when the Community folder cannot be listed.
void gf_autoDetectAiPackages(const std::filesystem::path& community, LiveryFolderList& folders);

}  // namespace mrw

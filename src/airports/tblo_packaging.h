#pragma once
// The folder tblo: the generated airport files of known airports that the maker's archive lacks,
// gathered at the end of an airports scan and packed into tblo/tblo.zip for the user to send.

#include <filesystem>
#include <optional>
#include <string>

namespace mrw {

// Copy the generated files of known airports from airports/my_simaddon (or my_thirdparty) to
// tblo; a generated file that has a link file beside it is removed from its folder afterwards.
void lf_copySimaddonToTblo();
void lf_copyThirdpartyToTblo();
// Packs the regular files of tblo into the target (an old target is removed first); true when at
// least one file was added and the target exists afterwards and is not empty.
bool gf_zipFolder(const std::filesystem::path& target);
// The file's bytes; nothing when it cannot be read.
std::optional<std::string> gf_readWholeFile(const std::filesystem::path& path);

}  // namespace mrw

#pragma once
// Replacing a file whole: the bytes go to a temporary sibling that is renamed over the target, so a
// failure never leaves a truncated file behind.

#include <filesystem>
#include <string_view>

namespace mrw {

// True when the file now holds exactly `bytes`; false (target unchanged, no temporary left) otherwise.
bool gf_replaceFile(const std::filesystem::path& target, std::string_view bytes);

// A name beside the target for a temporary file, unique within the process.
std::filesystem::path gf_temporarySibling(const std::filesystem::path& target);

}  // namespace mrw

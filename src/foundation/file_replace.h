#pragma once
// Replacing a file whole: the bytes go to a temporary sibling that is renamed over the target, so a
// failure never leaves a truncated file behind.

#include <filesystem>
#include <string_view>
#include <system_error>

namespace mrw {

// True when the file now holds exactly `bytes`; false (target unchanged, no temporary left) otherwise.
bool gf_replaceFile(const std::filesystem::path& target, std::string_view bytes);

// Copies `source` over `target` through a copy beside the target that is renamed over it: the target
// holds its old bytes or the whole copy, never a part. (std::filesystem::copy_file with
// overwrite_existing refuses every existing target on Windows under MinGW-w64's library.)
void gf_copyFileOver(const std::filesystem::path& source, const std::filesystem::path& target,
                     std::error_code& ec);

// A name beside the target for a temporary file, unique within the process.
std::filesystem::path gf_temporarySibling(const std::filesystem::path& target);

}  // namespace mrw

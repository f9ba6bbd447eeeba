#pragma once
// The version check's evaluation of versions.json, for the fuzz harness.

#include <string_view>

namespace mrw {

// Evaluates the text of versions.json as gf_checkVersions does once it has it: false when a newer
// program version was prepared and the run ends.
bool gf_applyVersions(std::string_view text);

}  // namespace mrw

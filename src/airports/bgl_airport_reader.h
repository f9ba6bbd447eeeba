#pragma once
// Reading the airports of a BGL scenery file (code, altitude, helipads and the first list of taxiway
// parkings) into generated airport files, when the simulator's facility data could not be read.
// Every offset and size is checked against the file and the walks are bounded by their section, so
// a malformed file ends with an error line, never with a read outside the file.

#include <filesystem>

namespace mrw {

// Reads every airport record of the file; each recognised airport is linked or generated. A file
// that cannot be opened or has no valid header is passed over silently. Exceptions are logged and
// thrown on (std::out_of_range for a record that runs past its airport record or the file).
void lf_processBGLfile(const std::filesystem::path& path);

}  // namespace mrw

#pragma once
// The version check at the first run start of the process: versions.json from the download site
// names the current program version and data-set versions. Newer data files are downloaded, newer
// scan versions switch their scan on for this run, and a newer program version is prepared for
// installation (new_version.h), which ends the run.

namespace mrw {

// Runs on the main worker. True when the run may go on: also when versions.json could not be
// downloaded, read or parsed, when a key's version is unusable (that key is skipped with a warning),
// and when a new program version could not be prepared (its text goes to the message line). False
// when a new program version was prepared and the stop latch holds NEW VERSION. Filesystem errors
// of the data-file checks propagate.
bool gf_checkVersions();

}  // namespace mrw

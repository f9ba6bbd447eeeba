#pragma once
// The first step of every run start: load parameters.xml, then either switch both scans on (a first
// run, defaults just written) or compare the stored program version with this one and clean up after
// an update. The run start calls these by the names it knows them by.

namespace mrw {

// Loads parameters.xml; a first run switches SCAN_LIVERIES and SCAN_AIRPORTS on, saves and checks
// them; any other run goes on with lf_checkVersionUpdate. File-system errors propagate.
void lf_prepareParameters();

// Stores this program's version in PROGRAM_VERSION and, after an update, removes what an older
// version left behind: the decrypted data files always (unless no version was stored), the folder
// new_version after an update, the shipped encrypted data files after an update from below 12.0.0.
// A stored text that is no version counts as an update from an unknown version: the encrypted files
// stay. Throws std::filesystem::filesystem_error when a status cannot be read or a removal fails.
void lf_checkVersionUpdate();

}  // namespace mrw

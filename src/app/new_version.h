#pragma once
// A newer program version is not installed in place: its installer is downloaded and unpacked into
// the folder new_version beside the program, with the release notes and a README.txt notice, and
// the folder is opened for the user, who runs the installer. The run then ends for good.

#include <filesystem>
#include <string>

#include "foundation/version_data.h"

namespace mrw {

// Downloads, unpacks and moves the installer of the web version into new_version, adds the release
// notes and README.txt, opens the folder and sets the stop latch to NEW VERSION with delay 0; true
// then. False when the installer could not be prepared (filesystem errors included): the failure's
// text goes to the message line and the log, an installer prepared earlier stays, and the run may go
// on.
bool gf_prepareNewVersion(const VersionData& web);

// The notice of README.txt: whether the installer needs administrator rights for the program folder.
std::string gf_newVersionNotice(const std::filesystem::path& folder);

}  // namespace mrw

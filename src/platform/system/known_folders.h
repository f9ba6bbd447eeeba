#pragma once
// The folders the program keeps its data in: Windows' known folders, and their Linux counterparts
// below. Each lookup first reads an environment override, so that tests (and a process whose data
// directory is fixed by a static initialiser) can point them elsewhere before the program starts.

#include <filesystem>
#include <optional>

namespace platform {

enum class KnownFolder { RoamingAppData, LocalAppData, ProgramFiles, ProgramFilesX86 };

// RoamingAppData: $MRW_ROAMING_APPDATA, else $XDG_CONFIG_HOME, else ~/.config.
// LocalAppData:   $MRW_LOCAL_APPDATA, else $XDG_DATA_HOME, else ~/.local/share.
// ProgramFiles:   $MRW_PROGRAM_FILES, else /opt.
// ProgramFilesX86: $MRW_PROGRAM_FILES_X86, else /usr/local.
// An empty variable counts as unset. Without HOME the home-based defaults give no path.
// On Windows, after the override: the shell's FOLDERID_RoamingAppData, _LocalAppData,
// _ProgramFiles and _ProgramFilesX86.
// Safe to call from static initialisers.
std::optional<std::filesystem::path> knownFolderPath(KnownFolder folder);

}  // namespace platform

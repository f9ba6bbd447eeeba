#pragma once
// Small shared file-system operations: the known folders and the program's data directory,
// removing and counting the regular files of a folder, listing the airport codes of a folder of
// airport files, and opening a folder for the user. Listings look only at the folder's own
// entries; folders, links to folders and other entries are never counted, listed or removed.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "foundation/fixed_code.h"
#include "platform/system/known_folders.h"

namespace mrw {

// The program's data directory: the roaming application-data folder joined with "Merrowvale"
// (the relative "Merrowvale" when that folder is unknown). Fixed at first use for the process.
const std::filesystem::path& g_dataDirectory();
// g_dataDirectory() joined with "parameters.xml".
const std::filesystem::path& g_parametersFile();

// The known folder, or nothing when the system cannot give it.
std::optional<std::filesystem::path> gf_knownFolderPath(platform::KnownFolder folder);
// The roaming application-data folder; on failure the error line "Could not find the AppData path"
// and an empty path.
std::filesystem::path gf_appDataPath();
// The local application-data folder; on failure the error line "Could not find the Local AppData path"
// and an empty path.
std::filesystem::path gf_localAppDataPath();

// Removes the file when it exists; a failed removal is logged and the caller goes on. A status error
// other than "not found" throws std::filesystem_error.
void gf_removeFile(const std::filesystem::path& path);
// Removes every regular file of the folder; never throws (failures are logged).
void gf_removeFilesFromDirectory(const std::filesystem::path& folder);
// Removes every regular .xml file (any case) from the tblo folder; never throws.
void gf_removeXMLFilesFromDirectory();

// The number of regular files the iterator lists. Errors throw std::filesystem_error.
std::size_t gf_countRegularFiles(std::filesystem::directory_iterator entries);
// The number of regular files in the folder; 0 when it does not exist.
std::size_t gf_countFiles(const std::filesystem::path& folder);

// The codes of the folder's airport files (regular files named CODE.xml, any case), sorted by file
// name. A file with a four-character name that is not a code is logged and skipped. Empty when the
// folder does not exist or cannot be opened.
std::vector<FixedCode<4>> gf_listXmlCodes(const std::filesystem::path& folder);

// Opens the folder that holds the path (never the file itself) for the user; true when the shell
// reports success. False when the path does not exist or has no parent path.
bool gf_openContainingFolder(const std::filesystem::path& path);

}  // namespace mrw

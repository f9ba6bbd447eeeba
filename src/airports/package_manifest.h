#pragma once
// What a simulator package's manifest.json tells about the package, the search for the manifest of
// the package that holds a file, and the two lookups of the airports scan built on it: the airport
// code of a scanned BGL file and the publisher of a scanned airport.

#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "foundation/fixed_code.h"

namespace mrw {

struct ManifestData {
    std::string title;
    std::string version;
    std::string manufacturer;
    std::string creator;
};

struct AirportFile;

// The manifest of the package that holds the path: the path's folder and at most six folders above
// it are searched. Every failure (also a folder that cannot be listed) gives nothing; exceptions
// leave the line "exception in gf_searchManifest: {}" in the scan report.
std::optional<ManifestData> gf_searchManifest(const std::filesystem::path& path);
// The folder's manifest.json (exactly that name), or an empty path. Throws std::filesystem_error
// when the folder cannot be listed.
std::filesystem::path gf_findManifestFile(const std::filesystem::path& folder);
// Nothing for a file that cannot be opened, is empty or is no JSON object; JSON syntax and type
// errors are thrown.
std::optional<ManifestData> gf_readManifest(const std::filesystem::path& path);
// Searches the manifest of the file's source path into `manifest`, unless it was searched already.
void gf_searchManifestOnce(AirportFile& file);
// The string at the key; empty for a missing key, null, an empty object or array. Any other value
// that is no string throws the JSON library's type error.
std::string gf_jsonString(const nlohmann::json& object, const char* key);

// The airport code of a scanned BGL file, from its path, its file name or its package title.
// `handled` becomes true when a code was found that the airports database does not know.
std::optional<FixedCode<4>> gf_airportCodeOfBgl(AirportFile& file, bool& handled);
// Fills the file's publisher from its path or its package's manifest when one can be found.
void gf_airportPublisher(AirportFile& file);

}  // namespace mrw

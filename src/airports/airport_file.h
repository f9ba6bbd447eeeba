#pragma once
// The airport file: the stands of one airport with their uses, as the maker's archive, the airports
// scan (generated files) and static parking (learned files) write it, and its writer.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "airports/package_manifest.h"
#include "airports/stand.h"
#include "foundation/fixed_code.h"

namespace mrw {

// The modes of AirportFile::save.
inline constexpr int kApfLearned = 0;    // static parking's learned file: uses and per-airport settings
inline constexpr int kApfGenerated = 1;  // the airports scan's file: full stand descriptions, no uses

struct AirportFile {
    FixedCode<4> code;
    bool Facilities = false;  // the stands came from the simulator's facility data
    std::string airportName;
    std::filesystem::path sourcePath;  // the package or BGL file the airport was found in; not written
    std::string bglPathText;
    std::string publisher;  // "stock", "simaddon", an add-on publisher, or empty
    std::optional<ManifestData> manifest;
    bool manifestSearched = false;  // `manifest` holds the search's result, found or not
    std::int32_t Qf_real = -1;      // percent; negative = not set
    std::int32_t Qf_soft = -1;
    std::int32_t altitude = 0;  // feet
    std::vector<Stand> stands;

    // Writes the whole document (meta element with the sim number, parameters, stands) and replaces
    // the file, creating its folders. Every failure is reported as false, never thrown.
    bool save(const std::filesystem::path& path, int mode, int sim) const;
};

// Appends the <parameters> element; false only when it cannot be appended.
bool gf_writeApfParameters(pugi::xml_node root, const AirportFile& file, int mode);

}  // namespace mrw

#pragma once
// The steps of the BGL airport reader, for its tests.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "airports/airport_file.h"
#include "airports/bgl_file.h"
#include "foundation/fixed_code.h"
#include "foundation/lalo.h"

namespace mrw {

// The words of one airport record: its first word and the end of its record (never past the
// words or the sub-section that holds it).
struct BglRecordSpan {
    std::size_t first = 0;
    std::size_t end = 0;
};

// Links or generates the airport file of one airport record, given the manifest of the BGL file's
// package (searched once per file by the caller).
void lf_processBglAirport(BglRecordSpan record, const BglWords& words, FixedCode<4> code,
                          const std::filesystem::path& path, const std::optional<ManifestData>& manifest);
// An empty airport file with the altitude of the airport record at `a` (signed millimetres, in
// feet; below -20 or above 10000 becomes 0).
AirportFile lf_apfFromBglHeader(std::size_t a, const BglWords& words);
// Append stands; a record that runs past `end` throws std::out_of_range.
void lf_readBglHelipad(std::size_t h, std::size_t end, const BglWords& words, AirportFile& file,
                       std::vector<Lalo>& helipads, int& helipadNumber);
void lf_readBglParkings(std::size_t t, std::size_t end, const BglWords& words, AirportFile& file,
                        std::set<std::string>& ids, const std::filesystem::path& path);
std::optional<std::string> lf_uniqueStandId(const std::string& id, std::set<std::string>& ids,
                                            const std::filesystem::path& path);

}  // namespace mrw

#pragma once
// BGL scenery files as the airports scan sees them: the file as little-endian 32-bit words, the
// quick test for an airport section, and the airport ident of an airport record.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mrw {

using BglWords = std::vector<std::uint32_t>;

// The whole stream as little-endian words; a final partial word is padded with zero bytes.
BglWords gf_readFileWords(std::istream& in);
// Whether the file's section table lists a section of type 3 (airport).
bool gf_bglHasAirport(const std::filesystem::path& path);
// The ident's text (base 38 of ident >> 5) and whether it names an airport the database knows;
// a blank or '?' in it makes it not ok.
std::string gf_decodeBglIcao(std::uint32_t ident, bool& ok);
// A text of 3 or 4 characters is upper-cased; ok only for a code of 4 that the airports database
// knows (an unknown one leaves "{} is not an airport supported by RealTraffic" in the scan report).
std::pair<std::string, bool> gf_checkScannedIcao(std::string text);
std::string gf_reversedString(std::string_view text);

}  // namespace mrw

#pragma once
// Scenery publishers and their airports, from the aircraft database: which canonical publisher a
// path belongs to, and whether an airport comes with a publisher's scenery.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace mrw {

// Whether the name occurs in the path's UTF-8 text, comparing A-Z and a-z as equal; an empty name
// gives true.
bool gf_containsNoCase(const std::filesystem::path& path, std::string_view name);
// The canonical (first) name of the first publisher group one of whose names occurs in the path
// text, exactly or ignoring case; nothing for an empty text or when none occurs.
std::optional<std::string> gf_publisherOfPath(std::string_view pathText);
// Whether an entry of the publisher (exact name) in g_thirdParties20 (is2020) or g_thirdParties24
// lists the airport code.
bool gf_isThirdPartyAirport(bool is2020, std::string_view publisher, std::string_view airportCode);

}  // namespace mrw

#include "aircraft/publishers.h"

#include "aircraft/aircraft_database.h"
#include "foundation/text_encoding.h"

#include <algorithm>

namespace mrw {

namespace {

char lf_lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lf_containsNoCase(std::string_view text, std::string_view name) {
    if (name.empty()) return true;
    return std::search(text.begin(), text.end(), name.begin(), name.end(),
                       [](char a, char b) { return lf_lowerAscii(a) == lf_lowerAscii(b); }) != text.end();
}

}  // namespace

bool gf_containsNoCase(const std::filesystem::path& path, std::string_view name) {
    return lf_containsNoCase(path_to_utf8(path), name);
}

std::optional<std::string> gf_publisherOfPath(std::string_view pathText) {
    if (pathText.empty()) return std::nullopt;
    for (const auto& group : g_publisherGroups()) {
        for (const auto& name : group) {
            // An exact occurrence is also one ignoring case: one test covers both.
            if (lf_containsNoCase(pathText, name)) return group.front();
        }
    }
    return std::nullopt;
}

bool gf_isThirdPartyAirport(bool is2020, std::string_view publisher, std::string_view airportCode) {
    const auto& entries = is2020 ? g_thirdParties20() : g_thirdParties24();
    return std::any_of(entries.begin(), entries.end(), [&](const ThirdPartyEntry& entry) {
        return entry.publisherName == publisher &&
               std::find(entry.airportCodes.begin(), entry.airportCodes.end(), airportCode) !=
                   entry.airportCodes.end();
    });
}

}  // namespace mrw

#include "aircraft/aircraft_texts.h"

#include <fmt/format.h>

#include "aircraft/code_tables.h"
#include "foundation/network_text.h"
#include "foundation/text_helpers.h"

namespace mrw {

std::string gf_designationText(const AcDesignation& designation) {
    const std::string operatorPart = designation.operatorAirline == 0
                                         ? std::string{}
                                         : "," + g_airlineCodes().text(designation.operatorAirline);
    return fmt::format("{:3}{:4} {:4}{}{:3}", g_airlineCodes().text(designation.airline), operatorPart,
                       g_modelCodes().text(designation.model), designation.fromDbase != 0 ? '.' : ' ',
                       designation.isCargo != 0 ? "(C)" : "");
}

std::string gf_routeText(const FixedCode<3>& origin, const FixedCode<3>& destination) {
    if (origin.empty() && destination.empty()) return std::string(8, ' ');
    return fmt::format("{:3}->{:3}", origin.view(), destination.view());
}

std::string gf_callsignText(const AircraftIdentity& identity) {
    return fmt::format("{:8}", gf_quotedNetworkText(identity.callsign));
}

std::string gf_callsignRegRouteText(const AircraftIdentity& identity) {
    return fmt::format("{} {:12} {}", gf_callsignText(identity), identity.registration,
                       gf_routeText(identity.origin, identity.destination));
}

std::string gf_aircraftText(const AircraftIdentity& identity) {
    return fmt::format("{} {}", gf_callsignRegRouteText(identity), gf_designationText(identity.designation));
}

std::string gf_callsignRegDesignationText(const AircraftIdentity& identity) {
    return fmt::format("{} {} {}", gf_callsignText(identity), identity.registration,
                       gf_designationText(identity.designation));
}

std::string gf_designationRegText(const AircraftIdentity& identity) {
    return fmt::format("{} {}", gf_designationText(identity.designation), identity.registration);
}

bool hasUsableCallsign(const AircraftIdentity& identity) {
    const std::string& callsign = identity.callsign;
    return !callsign.empty() && callsign != "@@@@@@@@" && callsign.size() <= kMaxCallsignLength;
}

std::optional<std::string> gf_airlineFromCallsign(std::string_view callsign) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (callsign.size() <= 3 || !isLetter(callsign[0]) || !isLetter(callsign[1]) || !isLetter(callsign[2]) ||
        callsign[3] < '0' || callsign[3] > '9') {
        return std::nullopt;
    }
    std::string airline(callsign.substr(0, 3));
    for (char& c : airline)
        c = gf_toUpperChar(c);
    return airline;
}

}  // namespace mrw

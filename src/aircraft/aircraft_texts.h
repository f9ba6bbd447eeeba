#pragma once
// The fixed-width texts that name an aircraft in Log.txt lines and reports, so that columns line up.
// A text argument with a width is padded with blanks on the right; only a callsign, which comes from
// the network, is cut.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "aircraft/ac_designation.h"
#include "aircraft/ac_profile.h"
#include "foundation/fixed_code.h"

namespace mrw {

// "{:3}{:4} {:4}{}{:3}": airline, "," + operator (or nothing), model, '.' for a designation from the
// database (else a blank), "(C)" for cargo (else nothing). 16 characters for codes of normal length.
std::string gf_designationText(const AcDesignation& designation);
// "{:3}->{:3}" with blanks for an empty code; eight blanks when both are empty.
std::string gf_routeText(const FixedCode<3>& origin, const FixedCode<3>& destination);
// "{:8}" with the callsign, cut as a text from the network.
std::string gf_callsignText(const AircraftIdentity& identity);
// "{} {:12} {}": callsign column, registration, route.
std::string gf_callsignRegRouteText(const AircraftIdentity& identity);
// "{} {}": gf_callsignRegRouteText and gf_designationText; the aircraft column of log lines.
std::string gf_aircraftText(const AircraftIdentity& identity);
// "{} {} {}": callsign column, registration (no width) and gf_designationText.
std::string gf_callsignRegDesignationText(const AircraftIdentity& identity);
// gf_designationText, a blank and the registration: the key of the no-match set.
std::string gf_designationRegText(const AircraftIdentity& identity);

// The longest callsign there is: the eight characters of the transponder's identification.
inline constexpr std::size_t kMaxCallsignLength = 8;

// The callsign is not empty, not "@@@@@@@@" and has at most kMaxCallsignLength characters.
bool hasUsableCallsign(const AircraftIdentity& identity);
// The airline code a callsign spells ("abc12" gives "ABC"): three letters then a digit; else nothing.
std::optional<std::string> gf_airlineFromCallsign(std::string_view callsign);

}  // namespace mrw

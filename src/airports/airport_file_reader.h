#pragma once
// Reading the stands and their uses from an airport file into the park airport's stands.

#include <cstdint>
#include <string>

#include <pugixml.hpp>

#include "aircraft/ac_designation.h"

namespace mrw {

// Reads every <parkpos> (origin 1) and appends the stands to g_parkStands. Throws
// UserErrorException 93 for a missing or empty id and 94 for a repeated one; the stands read
// before stay. A document without <parkpositions> has no stands.
void gf_readParkPositions(const pugi::xml_document& document);

// Builds one stand with its uses (origin stored in each use) and appends it to g_parkStands. A
// stand without a position is skipped with an error line; a use without a valid weekday or
// without any half hour is skipped silently.
void gf_readParkPos(const pugi::xml_node& parkpos, std::string id, std::int32_t origin);

struct OptionIdentity {
    std::string callsign;
    std::string secondCallsign;
    AcDesignation designation;
};
// The callsigns of an <opt> ("cs" split at its first ':') and its designation: the aircraft
// database's by registration, else built from "airl" and "type". Never throws.
OptionIdentity gf_readOption(const pugi::xml_node& opt);
// The designation of an <opt> from its "airl" and "type" codes (interned when new).
AcDesignation gf_readOptionCodes(const pugi::xml_node& opt);

}  // namespace mrw

#pragma once
// Reading the aircraft database: input/dbase.enc is decrypted into input/dbase.xml, read into the
// containers of aircraft_database.h, the code tables, the category sets, the fixes, the wingspans
// and the prefix map, and removed again. Main worker, first run of the process only.

#include "aircraft/aircraft_database.h"

#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

namespace mrw {

// True when dbase.xml was read; false (logged) when it does not parse. Throws std::runtime_error
// when dbase.enc is missing or cannot be decrypted, and UserErrorException 61 when a required
// section is missing or empty. The plain dbase.xml is removed on every way out.
bool gf_readDbase();

// Reads a required list section into the target set: every non-empty trimmed part of the attribute
// of every such element. UserErrorException 61 when root or the section is missing or gives no part.
void gf_readXmlSection(const pugi::xml_document& document, std::string_view sectionName, CodeSet& target,
                       const char* elementName, const char* attributeName);
// gf_readXmlSection with the attribute "types" into a fresh set that then replaces the target.
void gf_readTypesSection(const pugi::xml_document& document, std::string_view sectionName, CodeSet& target,
                         const char* elementName);
// gf_readXmlSection with the element "ICAO" and the attribute "codes", likewise.
void gf_readCodesSection(const pugi::xml_document& document, std::string_view sectionName, CodeSet& target);
// Appends one ThirdPartyEntry per element of an optional publisher airports section.
void gf_readThirdPartiesSection(const pugi::xml_document& document, std::string_view sectionName,
                                std::vector<ThirdPartyEntry>& target, const char* elementName);
// Sorts g_dbaseRecords by registration, stably, and keeps the first record of each registration.
void gf_sortDbaseRecords();

// The parts between ',' trimmed, empty parts kept, none for an empty text.
std::vector<std::string> gf_splitOnComma(std::string_view text);
// The attribute read as a number by the XML library; 0 when it is missing.
double gf_attributeDouble(const pugi::xml_node& element, const char* attributeName);

}  // namespace mrw

#pragma once
// The attribute and save functions that every XML writer of the program uses (pugixml documents).
// Values are written as valid UTF-8: a text that is not is taken as Windows-1252.

#include <filesystem>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace mrw {

// The attribute's value, or the empty text when the node has no such attribute.
std::string gf_attributeString(const pugi::xml_node& node, const char* name);

// Sets the node's first attribute of that name, appending one when there is none. False only when
// appending failed.
bool gf_setOrAppendAttribute(pugi::xml_node& node, const char* name, std::string_view value);

// Always appends a new attribute (also when one of that name exists). False when appending failed.
bool gf_appendAttribute(pugi::xml_node& node, const char* name, std::string_view value);
bool gf_appendAttribute(pugi::xml_node& node, const char* name, const std::string& value);

// Makes the document begin with the declaration version 1.0, encoding UTF-8, and saves it indented
// by two blanks, UTF-8 without a byte-order mark, through a temporary sibling renamed over the file.
// False when the file could not be written (the file is then unchanged).
bool gf_saveXmlWithDeclaration(pugi::xml_document& document, const std::filesystem::path& path);

}  // namespace mrw

#pragma once
// The element form of a stored setting, `parameter` with the attributes name and value, as
// parameters.xml and the airport files keep it: finding one under root/parameters (or parameters at
// the top of the node) and appending one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace mrw {

// The node's `parameters` element: under its child `root` when it has one, else its own child.
pugi::xml_node gf_parametersElementOf(const pugi::xml_node& node);

// The first `parameter` named exactly `name` (a missing name attribute counts as the empty text);
// empty when there is none. A match without value reads as false, 0 or the empty text. A bool is
// true when its text begins with 1, t, T, y or Y; an int that is no number reads as 0.
std::optional<bool> gf_readBoolParameter(const pugi::xml_node& node, std::string_view name);
std::optional<std::int32_t> gf_readIntParameter(const pugi::xml_node& node, std::string_view name);
std::optional<std::string> gf_readStringParameter(const pugi::xml_node& node, std::string_view name);

// Appends a `parameter` with the attributes name and value, in this order ("true"/"false", decimal
// or the text unchanged); false when a step failed (a partial element stays).
bool gf_appendBoolParameter(pugi::xml_node& parameters, std::string_view name, bool value);
bool gf_appendIntParameter(pugi::xml_node& parameters, std::string_view name, std::int32_t value);
bool gf_appendStringParameter(pugi::xml_node& parameters, std::string_view name, std::string_view value);

}  // namespace mrw

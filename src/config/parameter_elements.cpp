#include "config/parameter_elements.h"

#include "foundation/xml_helpers.h"

#include <fmt/format.h>

namespace mrw {

namespace {

pugi::xml_node lf_findParameter(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node element : gf_parametersElementOf(node).children("parameter")) {
        if (name == element.attribute("name").value()) return element;
    }
    return {};
}

}  // namespace

pugi::xml_node gf_parametersElementOf(const pugi::xml_node& node) {
    const pugi::xml_node root = node.child("root");
    return root ? root.child("parameters") : node.child("parameters");
}

std::optional<bool> gf_readBoolParameter(const pugi::xml_node& node, std::string_view name) {
    const pugi::xml_node element = lf_findParameter(node, name);
    if (!element) return std::nullopt;
    return element.attribute("value").as_bool();
}

std::optional<std::int32_t> gf_readIntParameter(const pugi::xml_node& node, std::string_view name) {
    const pugi::xml_node element = lf_findParameter(node, name);
    if (!element) return std::nullopt;
    return element.attribute("value").as_int();
}

std::optional<std::string> gf_readStringParameter(const pugi::xml_node& node, std::string_view name) {
    const pugi::xml_node element = lf_findParameter(node, name);
    if (!element) return std::nullopt;
    return std::string(element.attribute("value").value());
}

bool gf_appendStringParameter(pugi::xml_node& parameters, std::string_view name, std::string_view value) {
    pugi::xml_node element = parameters.append_child("parameter");
    return element && gf_appendAttribute(element, "name", name) &&
           gf_appendAttribute(element, "value", value);
}

bool gf_appendBoolParameter(pugi::xml_node& parameters, std::string_view name, bool value) {
    return gf_appendStringParameter(parameters, name, value ? "true" : "false");
}

bool gf_appendIntParameter(pugi::xml_node& parameters, std::string_view name, std::int32_t value) {
    return gf_appendStringParameter(parameters, name, fmt::format("{}", value));
}

}  // namespace mrw

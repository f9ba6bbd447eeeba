#include "foundation/xml_helpers.h"

#include "foundation/file_replace.h"
#include "foundation/text_encoding.h"

#include <sstream>

namespace mrw {

namespace {

pugi::xml_node lf_declaration(pugi::xml_document& document) {
    for (pugi::xml_node node : document.children()) {
        if (node.type() == pugi::node_declaration) return node;
    }
    return document.prepend_child(pugi::node_declaration);
}

// The files declare UTF-8: a text that is not valid UTF-8 is taken as Windows-1252.
bool lf_setValue(pugi::xml_attribute& attribute, std::string_view value) {
    if (gf_isValidUtf8(value)) return attribute.set_value(value.data(), value.size());
    const std::string converted = gf_ansiToUtf8(value);
    return attribute.set_value(converted.data(), converted.size());
}

}  // namespace

std::string gf_attributeString(const pugi::xml_node& node, const char* name) {
    return node.attribute(name).value();
}

bool gf_setOrAppendAttribute(pugi::xml_node& node, const char* name, std::string_view value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) attribute = node.append_attribute(name);
    if (!attribute) return false;
    return lf_setValue(attribute, value);
}

bool gf_appendAttribute(pugi::xml_node& node, const char* name, std::string_view value) {
    pugi::xml_attribute attribute = node.append_attribute(name);
    return attribute && lf_setValue(attribute, value);
}

bool gf_appendAttribute(pugi::xml_node& node, const char* name, const std::string& value) {
    return gf_appendAttribute(node, name, std::string_view(value));
}

bool gf_saveXmlWithDeclaration(pugi::xml_document& document, const std::filesystem::path& path) {
    pugi::xml_node declaration = lf_declaration(document);
    if (!declaration) return false;
    gf_setOrAppendAttribute(declaration, "version", "1.0");
    gf_setOrAppendAttribute(declaration, "encoding", "UTF-8");

    std::ostringstream text;
    document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    return gf_replaceFile(path, text.str());
}

}  // namespace mrw

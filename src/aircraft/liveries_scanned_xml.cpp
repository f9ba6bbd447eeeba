#include "aircraft/liveries_scanned_xml.h"

#include "aircraft/code_tables.h"
#include "aircraft/livery_data.h"
#include "config/data_file_meta.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"
#include "foundation/version_data.h"
#include "foundation/xml_helpers.h"

#include <fmt/format.h>
#include <pugixml.hpp>

namespace mrw {

namespace {

// The file as messages show it: relative to the program folder.
std::string lf_fileText() {
    return path_to_utf8(g_liveriesScannedFile);
}

bool lf_appendLivery(pugi::xml_node& liveries, const LiveryData& livery) {
    pugi::xml_node l = liveries.append_child("l");
    if (!l) return false;
    bool ok = gf_appendAttribute(l, "a", g_airlineCodes().text(livery.codes.airline));
    if (livery.codes.operatorAirline != 0) {
        ok = gf_appendAttribute(l, "o", g_airlineCodes().text(livery.codes.operatorAirline)) && ok;
    }
    ok = gf_appendAttribute(l, "m", g_modelCodes().text(livery.codes.model)) && ok;
    if (livery.codes.isCargo != 0) ok = gf_appendAttribute(l, "c", std::string_view{"true"}) && ok;
    ok = gf_appendAttribute(l, "t", livery.title) && ok;
    if (!livery.registration.empty()) ok = gf_appendAttribute(l, "r", livery.registration) && ok;
    return ok;
}

// The attribute's text; UserErrorException 999 when the element lacks it.
std::string lf_requiredAttribute(const pugi::xml_node& element, const char* name) {
    const pugi::xml_attribute attribute = element.attribute(name);
    if (!attribute) {
        throw UserErrorException(
            999, fmt::format("Missing required attribute '{}' in <{}>", name, element.name()));
    }
    return attribute.value();
}

LiveryData lf_readLivery(const pugi::xml_node& element) {
    // Tested in the order a, m, t: the first missing one is reported.
    const std::string airline = lf_requiredAttribute(element, "a");
    const std::string model = lf_requiredAttribute(element, "m");
    LiveryData livery;
    livery.title = lf_requiredAttribute(element, "t");
    livery.registration = element.attribute("r").value();
    livery.codes.airline = gf_airlineIndex(airline);
    livery.codes.operatorAirline = gf_airlineIndex(element.attribute("o").value());
    livery.codes.model = gf_modelIndex(model);
    livery.codes.isCargo = element.attribute("c").as_bool() ? 1 : 0;
    return livery;
}

}  // namespace

bool gf_writeLiveriesScanned() {
    const auto& list = g_scannedLiveries();
    if (list.empty()) return true;
    pugi::xml_document document;
    DataFileMeta meta;
    meta.version = g_programVersion.toString();
    meta.sim = g_simId.load();
    bool ok = gf_writeMeta(document, meta);
    pugi::xml_node liveries = document.child("root").append_child("liveries");
    ok = ok && liveries;
    for (const LiveryData& livery : list) {
        if (!ok) break;
        ok = lf_appendLivery(liveries, livery);
    }
    if (!ok || !gf_saveXmlWithDeclaration(document, g_liveriesScannedFile)) {
        gf_logError(fmt::format("Failed to write {}", lf_fileText()));
        return false;
    }
    gf_logLine(fmt::format("{} liveries in {}", list.size(), lf_fileText()));
    return true;
}

void gf_readLiveriesScanned() {
    auto& list = g_scannedLiveries();
    list.clear();
    pugi::xml_document document;
    if (!document.load_file(g_liveriesScannedFile.c_str())) {
        throw UserErrorException(51, fmt::format("File {} not found", lf_fileText()));
    }
    // Only for its error line: a file of the other simulator or without meta is read all the same.
    (void)gf_readMeta(document, false);
    if (const pugi::xml_node root = document.child("root")) {
        const pugi::xml_node liveries = root.child("liveries");
        if (!liveries) {
            throw UserErrorException(52,
                                     fmt::format("{} does not contain a <liveries> section", lf_fileText()));
        }
        for (const pugi::xml_node element : liveries.children()) {
            if (element.type() == pugi::node_element) list.push_back(lf_readLivery(element));
        }
    }
    if (list.empty()) throw UserErrorException(533, lf_fileText() + " does not contain liveries");
    gf_sortLiveries(list);
    gf_logLine(fmt::format("{:5} liveries read from {}", list.size(), lf_fileText()));
}

}  // namespace mrw

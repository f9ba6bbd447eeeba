#include "aircraft/wingspans.h"

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_reader.h"
#include "foundation/log.h"
#include "foundation/xml_helpers.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace mrw {

namespace {

constexpr std::string_view kSubscriptError = "invalid array<T, N> subscript";
// What a model beyond the table is given: 35 metres, in the table's unit.
constexpr double kFallbackHalfWingspanNm = 35.0 * kNmPerMetre;

// The half wingspan of one element, or nothing (logged) when its model or its span is not valid.
std::optional<double> lf_halfWingspan(const pugi::xml_node& element, const std::string& type) {
    if (type.empty() || !g_icaoModels().contains(type)) {
        gf_logError(fmt::format("wingspan model {} is not valid, skipped", type));
        return std::nullopt;
    }
    const double meters = gf_attributeDouble(element, "meters");
    if (!std::isfinite(meters) || meters < 0.0) {
        gf_logError(fmt::format("wingspan {} of model {} is not valid, skipped", meters, type));
        return std::nullopt;
    }
    return meters * 0.5 * kNmPerMetre;
}

}  // namespace

std::map<std::string, double>& g_wingspanList() {
    static auto* list = new std::map<std::string, double>();  // never destroyed
    return *list;
}

void gf_readWingspansSection(const pugi::xml_node& section) {
    auto& list = g_wingspanList();
    for (const pugi::xml_node element : section.children("wingspan")) {
        const std::string type = gf_attributeString(element, "type");
        const auto half = lf_halfWingspan(element, type);
        if (!half) continue;
        list.try_emplace(type, *half);  // the first element of a model wins
        g_maxHalfWingspan.store(std::max(g_maxHalfWingspan.load(), *half));
    }
    for (const auto& [type, half] : list)
        gf_fillWingspans(type, half);
}

void gf_fillWingspans(std::string_view modelCode, double halfWingspan) {
    const CodeIndex model = gf_modelIndex(modelCode);
    if (model >= kHalfWingspanCount) {
        gf_logError(fmt::format("wsp fill what: {}", kSubscriptError));
        return;
    }
    g_halfWingspans[model] = halfWingspan;
}

double gf_halfWingspanNm(CodeIndex model) {
    if (model < kHalfWingspanCount) return g_halfWingspans[model];
    gf_logLine(fmt::format("hwsp: {} what: {}", model, kSubscriptError));
    return kFallbackHalfWingspanNm;
}

}  // namespace mrw

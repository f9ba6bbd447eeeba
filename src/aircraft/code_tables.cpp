#include "aircraft/code_tables.h"

namespace mrw {

CodeTable& g_airlineCodes() {
    static auto* table = new CodeTable("airline");  // never destroyed: see the header
    return *table;
}

CodeTable& g_modelCodes() {
    static auto* table = new CodeTable("model");  // never destroyed: see the header
    return *table;
}

std::map<std::string, std::string>& g_modelFixes() {
    static auto* fixes = new std::map<std::string, std::string>();  // never destroyed: see the header
    return *fixes;
}

CodeIndex gf_airlineIndex(std::string_view code) {
    return g_airlineCodes().intern(code);
}

namespace {

// The index of a model code already in the table, the code itself or, once the table is loaded,
// the code g_modelFixes corrects it to.
std::optional<CodeIndex> lf_knownModelIndex(std::string_view code) {
    CodeTable& table = g_modelCodes();
    if (const auto index = table.find(code)) return index;
    if (table.isLoaded()) {
        if (const auto fixed = gf_fixedModelCode(code)) return table.find(*fixed);
    }
    return std::nullopt;
}

}  // namespace

CodeIndex gf_modelIndex(std::string_view code) {
    if (const auto index = lf_knownModelIndex(code)) return *index;
    return g_modelCodes().intern(code);
}

CodeIndex gf_networkModelIndex(std::string_view code) {
    if (const auto index = lf_knownModelIndex(code)) return *index;
    return g_modelCodes().internFromNetwork(code);
}

std::optional<std::string> gf_fixedModelCode(std::string_view code) {
    const auto& fixes = g_modelFixes();
    const auto it = fixes.find(std::string(code));
    if (it == fixes.end()) return std::nullopt;
    return it->second;
}

}  // namespace mrw

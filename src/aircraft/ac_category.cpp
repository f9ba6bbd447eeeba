#include "aircraft/ac_category.h"

#include "aircraft/code_tables.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>

namespace mrw {

namespace {

ModelSet& lf_newSet() {
    return *new ModelSet();
}  // never destroyed: see the header

}  // namespace

std::string_view gf_categoryName(AcCategory category) {
    static constexpr std::array<std::string_view, kAcCategoryCount> names{"Light", "Buzjets",  "Large",
                                                                          "Heavy", "HighPerf", "Rotorcraft"};
    const auto value = static_cast<std::size_t>(category);
    if (value >= names.size())
        throw std::out_of_range("gf_categoryName: no name for " + std::to_string(static_cast<int>(category)));
    return names[value];
}

ModelSet& g_largeModelSet() {
    static ModelSet& set = lf_newSet();
    return set;
}

ModelSet& g_heavyModelSet() {
    static ModelSet& set = lf_newSet();
    return set;
}

ModelSet& g_buzjetModelSet() {
    static ModelSet& set = lf_newSet();
    return set;
}

ModelSet& g_highPerfModelSet() {
    static ModelSet& set = lf_newSet();
    return set;
}

ModelSet& g_rotorcraftModelSet() {
    static ModelSet& set = lf_newSet();
    return set;
}

AcCategory gf_acCategory(CodeIndex model) {
    const std::array<std::pair<const ModelSet*, AcCategory>, 5> order{{
        {&g_largeModelSet(), AcCategory::Large},
        {&g_heavyModelSet(), AcCategory::Heavy},
        {&g_buzjetModelSet(), AcCategory::Buzjets},
        {&g_rotorcraftModelSet(), AcCategory::Rotorcraft},
        {&g_highPerfModelSet(), AcCategory::HighPerf},
    }};
    for (const auto& [set, category] : order) {
        if (set->contains(model)) return category;
    }
    return AcCategory::Light;
}

AcCategory gf_acCategoryOfCode(std::string_view modelCode) {
    return gf_acCategory(gf_modelIndex(modelCode));
}

}  // namespace mrw

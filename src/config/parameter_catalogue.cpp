#include "config/parameter_catalogue.h"

#include <algorithm>

namespace mrw {

namespace {

// The subsets of k of the n packages in combination order, each followed by all its orderings in
// lexicographic order of the packages' positions.
void lf_appendOrderings(const std::vector<std::string>& packages, std::size_t k,
                        std::vector<std::string>& out) {
    std::vector<bool> chosen(packages.size(), false);
    std::fill(chosen.begin(), chosen.begin() + static_cast<std::ptrdiff_t>(k), true);
    do {
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < packages.size(); ++i) {
            if (chosen[i]) order.push_back(i);
        }
        do {
            std::string text;
            for (std::size_t i : order)
                text += (text.empty() ? "" : ", ") + packages[i];
            out.push_back(std::move(text));
        } while (std::next_permutation(order.begin(), order.end()));
    } while (std::prev_permutation(chosen.begin(), chosen.end()));
}

}  // namespace

ParameterCatalogue::ParameterCatalogue()
    : AI_PACKAGE_SELECTOR("AI_PACKAGE_SELECTOR", "AIG, FSLTL, JF, MTL", g_aiPackageOrderings(), 0x8016, 147) {
}

ParameterCatalogue& g_parameters() {
    static auto* catalogue = new ParameterCatalogue();  // never destroyed: see the header
    return *catalogue;
}

const std::vector<std::string>& g_aiPackageOrderings() {
    static const auto* orderings = [] {
        const std::vector<std::string> packages{"AIG", "FSLTL", "JF", "MTL"};
        auto* list = new std::vector<std::string>();
        for (std::size_t k = packages.size(); k >= 1; --k)
            lf_appendOrderings(packages, k, *list);
        return list;
    }();
    return *orderings;
}

SharedChoices& g_callsignChoices() {
    return *g_parameters().callsignChoices;
}

const std::array<const std::string*, 8>& g_apfParameterNames() {
    static const auto* names = [] {
        const ParameterCatalogue& p = g_parameters();
        return new std::array<const std::string*, 8>{
            &p.RANGE.name,     &p.AUTO_RANGE.name,         &p.INITIAL_LOAD_ONLY.name,
            &p.PARK_SOFT.name, &p.parking_percentage.name, &p.MAX_FIT.name,
            &p.WEEK.name,      &p.MAX_LIVE_SEL.name};
    }();
    return *names;
}

}  // namespace mrw

#include "aircraft/dbase_lookups.h"

#include "aircraft/aircraft_database.h"

#include <algorithm>

namespace mrw {

namespace {

constexpr std::size_t kMaxKeyLength = 5;

bool lf_inSet(const CodeSet& set, std::string_view code) {
    return !code.empty() && set.find(std::string(code)) != set.end();
}

std::string lf_withHyphenAt(std::string_view registration, std::size_t position) {
    std::string variant(registration.substr(0, position));
    variant += '-';
    variant += registration.substr(position);
    return variant;
}

}  // namespace

std::vector<std::string> gf_registrationVariants(std::string_view registration) {
    std::vector<std::string> variants;
    if (registration.size() >= 5 && registration.front() != 'N' &&
        registration.find('-') == std::string_view::npos) {
        variants.push_back(lf_withHyphenAt(registration, 2));
        variants.push_back(lf_withHyphenAt(registration, 1));
    }
    variants.emplace_back(registration);
    return variants;
}

std::optional<AcDesignation> gf_findDbaseRecord(std::string_view registration) {
    if (registration.empty()) return std::nullopt;
    const auto& records = g_dbaseRecords();
    for (const auto& variant : gf_registrationVariants(registration)) {
        const auto it = std::ranges::lower_bound(records, variant, {}, &DbaseRecord::registration);
        if (it != records.end() && it->registration == variant) return it->designation;
    }
    return std::nullopt;
}

std::optional<std::string> gf_findKeyInText(std::string_view text) {
    for (const auto& record : g_dbaseRecords()) {
        const std::string& key = record.registration;
        // The reader drops empty registrations; an empty key would match every text.
        if (key.empty() || key.size() > kMaxKeyLength || key.size() > text.size()) continue;
        if (text.find(key) != std::string_view::npos) return key;
    }
    return std::nullopt;
}

bool gf_isKnownModel(std::string_view code) {
    return lf_inSet(g_icaoModels(), code);
}

bool gf_isKnownAirline(std::string_view code) {
    return lf_inSet(g_icaoAirlines(), code);
}

}  // namespace mrw

#include "aircraft/livery_matching.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <fmt/format.h>

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "aircraft/failed_liveries.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_catalogue_internal.h"
#include "aircraft/prefix_groups.h"
#include "aircraft/regcode_store.h"
#include "aircraft/similar_models.h"
#include "airports/stand.h"
#include "config/parameter_catalogue.h"
#include "config/random_helpers.h"
#include "foundation/log.h"

namespace mrw {
namespace {

using TitleList = std::vector<TitleView>;

constexpr int kPickTries = 5;

int lf_rowOf(const AcDesignation& designation) {
    return designation.isCargo != 0 ? kCargoRow : kPassengerRow;
}

const std::string& lf_airlineText(CodeIndex airline) {
    return g_airlineCodes().text(airline);
}

bool lf_isPrivate(const AcDesignation& designation) {
    return lf_airlineText(designation.airline) == "PVT";
}

CodeIndex lf_genericAirline() {
    return gf_airlineIndex("ZZZ");
}

// The registration up to and including its first '-' when that stands at position 1 or later,
// otherwise its first character; empty for an empty registration.
std::string_view lf_registrationPrefix(std::string_view registration) {
    if (registration.empty()) return {};
    const std::size_t dash = registration.find('-');
    if (dash != std::string_view::npos && dash >= 1) return registration.substr(0, dash + 1);
    return registration.substr(0, 1);
}

const TitleList* lf_airlineModelTitles(int row, CodeIndex key, CodeIndex model) {
    const auto& keys = g_airlineModelTitles()[row];
    const auto byKey = keys.find(key);
    if (byKey == keys.end()) return nullptr;
    const auto byModel = byKey->second.find(model);
    return byModel == byKey->second.end() ? nullptr : &byModel->second;
}

bool lf_isSpecial(TitleView title) {
    const auto& special = g_specialTitles();
    return std::find(special.begin(), special.end(), title) != special.end();
}

bool lf_isFailed(TitleView title) {
    return g_failedTitles().contains(title);
}

bool lf_hasTitle(const AcProfile& aircraft) {
    return !aircraft.liveryTitle.empty();
}

// Special titles are taken only when the list offers nothing else.
void lf_pickRandomTitle(AcProfile& aircraft, const TitleList& list) {
    if (list.empty()) return;
    for (int tries = 0; tries < kPickTries; ++tries) {
        aircraft.liveryTitle = list[gf_randomIndex(list.size())];
        if (!lf_isSpecial(aircraft.liveryTitle)) return;
    }
    TitleList plain;
    std::copy_if(list.begin(), list.end(), std::back_inserter(plain),
                 [](TitleView t) { return !lf_isSpecial(t); });
    if (!plain.empty()) aircraft.liveryTitle = plain[gf_randomIndex(plain.size())];
}

bool lf_matchRegistration(AcProfile& aircraft) {
    if (aircraft.registration.empty()) return false;
    const auto& regcodes = g_regcodeTitles();
    const auto it = regcodes.find(aircraft.registration);
    aircraft.liveryTitle = it == regcodes.end() ? TitleView{} : it->second;
    return lf_hasTitle(aircraft);
}

int lf_registrationStep(const AcProfile& aircraft) {
    return g_uniqueRegcodes().contains(aircraft.registration) ? 0 : 1;
}

bool lf_matchRandomTitle(AcProfile& aircraft, int row, CodeIndex key, CodeIndex model) {
    const TitleList* list = lf_airlineModelTitles(row, key, model);
    if (list == nullptr) return false;
    lf_pickRandomTitle(aircraft, *list);
    return lf_hasTitle(aircraft);
}

std::string_view lf_airlineTitleWord(std::string_view code) {
    static const std::unordered_map<std::string_view, std::string_view> words{
        {"AAL", "American"}, {"ACA", "Canada"},      {"AFR", "France"},   {"ASA", "Alaska"},
        {"ASH", "Mesa"},     {"AVA", "Avianca"},     {"BAW", "British"},  {"BOX", "Aerologic"},
        {"CAI", "Corendon"}, {"CFE", "Cityflyer"},   {"DAE", "DHL Aero"}, {"DAL", "Delta"},
        {"DHK", "DHL Air"},  {"EDV", "Endeavor"},    {"EZY", "easyjet"},  {"FDX", "FedEx"},
        {"FJO", "Flexjet"},  {"GJS", "GoJet"},       {"IBE", "Iberia"},   {"JIA", "PSA Airlines"},
        {"JZA", "Jazz"},     {"KLC", "Cityhopper"},  {"LRC", "Avianca"},  {"PDT", "Piedmont"},
        {"PRM", "Prime"},    {"QLK", "Quantaslink"}, {"QXE", "Horizon"},  {"RPA", "Republic"},
        {"RYR", "Ryanair"},  {"SWA", "Southwest"},   {"SKW", "SkyWest"},  {"UAL", "United"},
        {"UPS", "UPS"},      {"VJT", "VistaJet"},    {"WJA", "WestJet"}};
    const auto it = words.find(code);
    return it == words.end() ? std::string_view{"not found"} : it->second;
}

// The first title of the list that names the airline of `code`.
bool lf_matchTitleWord(AcProfile& aircraft, int row, CodeIndex key, CodeIndex model, std::string_view code) {
    const TitleList* list = lf_airlineModelTitles(row, key, model);
    if (list == nullptr) return false;
    const std::string_view word = lf_airlineTitleWord(code);
    const auto it = std::find_if(list->begin(), list->end(),
                                 [word](TitleView title) { return title.find(word) != TitleView::npos; });
    if (it != list->end()) aircraft.liveryTitle = *it;
    return lf_hasTitle(aircraft);
}

// The titles of the list whose in-line regcode begins with the prefix, in list order.
void lf_titlesWithRegPrefix(const TitleList& list, std::string_view prefix, TitleList& result) {
    const auto& regcodes = g_titleRegcodes();
    for (TitleView title : list) {
        const auto it = regcodes.find(title);
        if (it != regcodes.end() && it->second.starts_with(prefix)) result.push_back(title);
    }
}

// A title whose regcode has the aircraft's registration prefix, else one with another prefix of the
// prefix's group. Sets nothing when no title of the list has such a regcode.
void lf_pickByRegPrefix(AcProfile& aircraft, const TitleList& list, std::string_view prefix) {
    TitleList candidates;
    lf_titlesWithRegPrefix(list, prefix, candidates);
    if (!candidates.empty()) {
        lf_pickRandomTitle(aircraft, candidates);
        return;
    }
    for (const std::string& peer : gf_prefixGroup(prefix)) {
        candidates.clear();
        lf_titlesWithRegPrefix(list, peer, candidates);
        lf_pickRandomTitle(aircraft, candidates);
        if (lf_hasTitle(aircraft)) return;
    }
}

bool lf_matchPrivateByRegPrefix(AcProfile& aircraft, int row, CodeIndex key, CodeIndex model) {
    const std::string_view prefix = lf_registrationPrefix(aircraft.registration);
    const TitleList* list = lf_airlineModelTitles(row, key, model);
    if (prefix.empty() || list == nullptr) return false;
    lf_pickByRegPrefix(aircraft, *list, prefix);
    return lf_hasTitle(aircraft);
}

// The model's pool of the aircraft's own row, preferring titles with its registration prefix.
bool lf_matchByRegPrefix(AcProfile& aircraft, CodeIndex model) {
    const std::string_view prefix = lf_registrationPrefix(aircraft.registration);
    const auto& pools = g_modelTitlePools()[lf_rowOf(aircraft.designation)];
    const auto pool = pools.find(model);
    if (prefix.empty() || pool == pools.end()) return false;
    lf_pickByRegPrefix(aircraft, pool->second, prefix);
    if (!lf_hasTitle(aircraft)) lf_pickRandomTitle(aircraft, pool->second);
    return lf_hasTitle(aircraft);
}

bool lf_matchAirlineModel(AcProfile& aircraft, const AcDesignation& d, int row) {
    if (d.operatorAirline != 0) {
        const std::string& airline = lf_airlineText(d.airline);
        const std::string& operatorCode = lf_airlineText(d.operatorAirline);
        return lf_matchRandomTitle(aircraft, row, gf_airlineOperatorKey(d.airline, d.operatorAirline),
                                   d.model) ||
               lf_matchTitleWord(aircraft, row, d.operatorAirline, d.model, airline) ||
               lf_matchTitleWord(aircraft, row, d.airline, d.model, operatorCode) ||
               lf_matchRandomTitle(aircraft, row, d.operatorAirline, d.model) ||
               lf_matchRandomTitle(aircraft, row, d.airline, d.model);
    }
    if (lf_isPrivate(d) && lf_matchPrivateByRegPrefix(aircraft, row, d.airline, d.model)) return true;
    return lf_matchRandomTitle(aircraft, row, d.airline, d.model);
}

// A cargo aircraft falls back to passenger liveries; a passenger aircraft never takes a cargo one.
bool lf_matchAirlineModelAnyRow(AcProfile& aircraft, const AcDesignation& d) {
    if (lf_matchAirlineModel(aircraft, d, lf_rowOf(d))) return true;
    return d.isCargo != 0 && lf_matchAirlineModel(aircraft, d, kPassengerRow);
}

bool lf_matchSimilarModel(AcProfile& aircraft, const AcDesignation& d) {
    const CodeIndex key = d.operatorAirline != 0 ? d.operatorAirline : d.airline;
    auto& byAirline = g_airlineSimilarModels();
    const auto airline = byAirline.find(key);
    if (airline == byAirline.end()) return false;
    const auto similar = airline->second.find(d.model);
    if (similar == airline->second.end()) return false;
    gf_shuffle(similar->second);  // in place: the next aircraft starts from the new order
    for (const CodeIndex model : similar->second) {
        if (gf_acCategory(model) != aircraft.category) continue;
        AcDesignation other = d;
        other.model = model;
        if (lf_matchAirlineModelAnyRow(aircraft, other)) return true;
    }
    return false;
}

CodeIndex lf_randomModelOfCategory(AcCategory category) {
    switch (category) {
        case AcCategory::Light:
            return lf_randomLightModel();
        case AcCategory::Buzjets:
            return lf_randomBuzjetModel();
        case AcCategory::Rotorcraft:
            return lf_randomRotorcraftModel();
        default:
            return 0;
    }
}

bool lf_usesModelPools(AcCategory category) {
    return category == AcCategory::Light || category == AcCategory::Buzjets ||
           category == AcCategory::Rotorcraft;
}

// Steps 4 to 6; `step` receives the step that set a title.
void lf_matchGeneric(AcProfile& aircraft, bool forceCargo, int& step) {
    if (lf_hasTitle(aircraft)) return;
    AcDesignation generic = aircraft.designation;
    generic.airline = lf_genericAirline();
    generic.isCargo = (generic.isCargo != 0 || forceCargo) ? 1 : 0;
    if (lf_matchAirlineModelAnyRow(aircraft, generic)) {
        step = 4;
        return;
    }
    if (!lf_usesModelPools(aircraft.category) || aircraft.registration.empty()) return;
    const CodeIndex model = aircraft.designation.model;
    if (lf_matchByRegPrefix(aircraft, model)) {
        step = 5;
        return;
    }
    std::vector<CodeIndex> candidates;
    const auto similar = g_similarModels().find(model);
    if (similar != g_similarModels().end()) {
        gf_shuffle(similar->second);
        candidates = similar->second;
    } else if (const CodeIndex other = lf_randomModelOfCategory(gf_acCategory(model)); other != 0) {
        candidates.push_back(other);
    }
    for (const CodeIndex candidate : candidates) {
        if (lf_matchByRegPrefix(aircraft, candidate)) {
            step = 6;
            return;
        }
    }
}

// Live aircraft only: a refused title is dropped; an accepted one is counted and logged.
bool lf_acceptLivery(AcProfile& aircraft, int step) {
    if (lf_isFailed(aircraft.liveryTitle)) {
        aircraft.liveryTitle = {};
        return false;
    }
    ++g_matchStepCounts[static_cast<std::size_t>(step)];
    gf_logLine(fmt::format("          {} ={}= {}", gf_aircraftText(aircraft), step, aircraft.liveryTitle));
    aircraft.fsltlLivery = aircraft.liveryTitle.find("FSLTL_") != TitleView::npos;
    return true;
}

// Static aircraft: a refused title is dropped; an accepted one is logged, not counted.
bool lf_acceptStatic(AcProfile& aircraft, std::string_view aircraftText, int step) {
    if (lf_isFailed(aircraft.liveryTitle)) {
        aircraft.liveryTitle = {};
        return false;
    }
    gf_logLine(fmt::format("          {} ={}= {}", aircraftText, step, aircraft.liveryTitle));
    return true;
}

AcDesignation lf_withGenericAirline(AcDesignation d) {
    d.airline = lf_genericAirline();
    return d;
}

}  // namespace

void gf_matchLiveAcLivery(AcProfile& aircraft) {
    const AcDesignation d = aircraft.designation;
    const int depth = g_parameters().MATCHING_DEPTH.current.load();
    if (lf_matchRegistration(aircraft) && lf_acceptLivery(aircraft, lf_registrationStep(aircraft))) return;
    if (depth < 2) return;
    if (lf_isPrivate(d) && lf_matchAirlineModelAnyRow(aircraft, lf_withGenericAirline(d)) &&
        lf_acceptLivery(aircraft, 4)) {
        return;
    }
    if (lf_matchAirlineModelAnyRow(aircraft, d) && lf_acceptLivery(aircraft, 2)) return;
    if (depth < 3) return;
    if (lf_matchSimilarModel(aircraft, d) && lf_acceptLivery(aircraft, 3)) return;
    if (depth != 4) return;
    int step = 0;
    lf_matchGeneric(aircraft, false, step);
    if (lf_hasTitle(aircraft)) lf_acceptLivery(aircraft, step);
}

bool gf_matchStaticAcLivery(AcProfile& aircraft, const Stand& stand) {
    const std::string text = gf_aircraftText(aircraft);
    if (lf_hasTitle(aircraft)) {
        gf_logLine(fmt::format("          {} =s= {}", text, aircraft.liveryTitle));
        return true;
    }
    const AcDesignation d = aircraft.designation;
    const int depth = g_parameters().MATCHING_DEPTH.current.load();
    if (lf_matchRegistration(aircraft) && lf_acceptStatic(aircraft, text, lf_registrationStep(aircraft)))
        return true;
    if (depth >= 2) {
        if (lf_isPrivate(d)) {
            AcDesignation generic = lf_withGenericAirline(d);
            generic.isCargo = stand.cargo ? 1 : 0;
            if (lf_matchAirlineModelAnyRow(aircraft, generic) && lf_acceptStatic(aircraft, text, 4))
                return true;
        }
        if (lf_matchAirlineModelAnyRow(aircraft, d) && lf_acceptStatic(aircraft, text, 2)) return true;
        if (depth > 2) {
            if (lf_matchSimilarModel(aircraft, d) && lf_acceptStatic(aircraft, text, 3)) return true;
            if (depth == 4) {
                int step = 0;
                lf_matchGeneric(aircraft, stand.cargo, step);
                if (lf_hasTitle(aircraft) && lf_acceptStatic(aircraft, text, step)) return true;
            }
        }
    }
    gf_logLine(
        fmt::format("{:8}: {} no livery match ...", stand.id, gf_callsignRegDesignationText(aircraft)));
    return false;
}

}  // namespace mrw

#include "aircraft/dbase_reader.h"

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"
#include "aircraft/plain_file_guard.h"
#include "aircraft/prefix_groups.h"
#include "aircraft/wingspans.h"
#include "foundation/data_decryption.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/user_error_exception.h"
#include "foundation/xml_helpers.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace mrw {

namespace {

constexpr int kDbaseError = 61;
constexpr std::size_t kGroupReserve = 64;
constexpr std::size_t kPublisherReserve = 640;
constexpr std::size_t kThirdParties20Reserve = 600;
constexpr std::size_t kThirdParties24Reserve = 300;
constexpr std::size_t kRecordReserve = 65536;

pugi::xml_node lf_section(const pugi::xml_document& document, std::string_view sectionName) {
    return document.child("root").child(std::string(sectionName).c_str());
}

CodeSet lf_readRequired(const pugi::xml_document& document, std::string_view sectionName,
                        const char* elementName, const char* attributeName) {
    CodeSet codes;
    gf_readXmlSection(document, sectionName, codes, elementName, attributeName);
    return codes;
}

// Groups of an optional section: one per element, the attribute's parts (empty ones kept) sorted.
void lf_readGroups(const pugi::xml_node& section, CodeGroups& groups) {
    groups.reserve(kGroupReserve);
    for (const pugi::xml_node element : section.children("similar")) {
        auto group = gf_splitComma(gf_attributeString(element, "types"));
        std::sort(group.begin(), group.end());
        groups.push_back(std::move(group));
    }
    groups.shrink_to_fit();
}

void lf_seedModelTable(const CodeSet& cargoModels) {
    gf_modelIndex("");
    for (const auto& code : g_icaoModels())
        gf_modelIndex(code);
    g_modelCodes().setLoaded();
    for (const auto& code : cargoModels)
        gf_modelIndex(code);
}

void lf_seedAirlineTable(const CodeSet& cargoOperators) {
    gf_airlineIndex("");
    for (const auto& code : g_icaoAirlines())
        gf_airlineIndex(code);
    for (const auto& code : cargoOperators)
        gf_airlineIndex(code);
    g_airlineCodes().setLoaded();
}

void lf_readCategorySets(const pugi::xml_document& document) {
    const std::array<std::tuple<const char*, const char*, ModelSet*>, 5> sections{{
        {"heavy", "hvy", &g_heavyModelSet()},
        {"large", "lar", &g_largeModelSet()},
        {"buzjet", "bzj", &g_buzjetModelSet()},
        {"high_performance", "hpf", &g_highPerfModelSet()},
        {"rotorcraft", "rot", &g_rotorcraftModelSet()},
    }};
    std::array<CodeSet, sections.size()> codes;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        gf_readTypesSection(document, std::get<0>(sections[i]), codes[i], std::get<1>(sections[i]));
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        ModelSet& set = *std::get<2>(sections[i]);
        set.clear();
        for (const auto& code : codes[i])
            set.insert(gf_modelIndex(code));
    }
}

void lf_readPrefixes(const pugi::xml_document& document) {
    if (const auto section = lf_section(document, "prefixes")) lf_readGroups(section, g_prefixGroups());
    gf_logLine(fmt::format("{:5} prefixes", g_prefixGroups().size()));
    gf_buildPrefixGroups();
}

// One group per distinct names text, in byte order of the texts. Empty names are dropped: an empty
// name would match every path.
void lf_readPublishers(const pugi::xml_document& document) {
    auto& groups = g_publisherGroups();
    if (const auto section = lf_section(document, "publishers")) {
        std::vector<std::string> texts;
        for (const pugi::xml_node element : section.children("pub")) {
            texts.push_back(gf_attributeString(element, "names"));
        }
        std::sort(texts.begin(), texts.end());
        texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
        groups.reserve(kPublisherReserve);
        for (const auto& text : texts) {
            auto names = gf_splitOnComma(text);
            std::erase(names, std::string());
            if (!names.empty()) groups.push_back(std::move(names));
        }
        groups.shrink_to_fit();
    }
    gf_logLine(fmt::format("{:5} publishers", groups.size()));
}

void lf_readFixes(const pugi::xml_document& document) {
    const auto section = lf_section(document, "fixes");
    if (!section) return;
    auto& fixes = g_modelFixes();
    for (const pugi::xml_node element : section.children("fx")) {
        const std::string wrong = gf_attributeString(element, "wro");
        const std::string correct = gf_attributeString(element, "cor");
        if (correct.empty() || !g_icaoModels().contains(correct)) {
            gf_logError(fmt::format("wrong fix {} -> {}, the latter is not valid", wrong, correct));
        } else if (!fixes.emplace(wrong, correct).second) {
            gf_logError(fmt::format("wrong part of fix: '{}', already exists, skipped", wrong));
        }
    }
    gf_logLine(fmt::format("{:5} fixes", fixes.size()));
}

// A record needs a registration (an empty one would be found in every text) and a model.
void lf_readRecords(const pugi::xml_document& document) {
    const auto section = lf_section(document, "dbase");
    if (!section) return;
    auto& records = g_dbaseRecords();
    records.reserve(kRecordReserve);
    for (const pugi::xml_node element : section.children("d")) {
        std::string registration = gf_attributeString(element, "r");
        const std::string model = gf_attributeString(element, "m");
        if (registration.empty() || model.empty()) {
            gf_logError(
                fmt::format("dbase record r='{}' m='{}' is incomplete, skipped", registration, model));
            continue;
        }
        AcDesignation designation;
        designation.airline = gf_airlineIndex(gf_attributeString(element, "a"));
        designation.operatorAirline = gf_airlineIndex(gf_attributeString(element, "o"));
        designation.model = gf_modelIndex(model);
        designation.isCargo = element.attribute("c").as_bool(false) ? 1 : 0;
        designation.fromDbase = 1;
        records.push_back({std::move(registration), designation});
    }
}

void lf_readSections(const pugi::xml_document& document) {
    gf_readTypesSection(document, "aircrafts", g_icaoModels(), "aircraft");
    gf_logLine(fmt::format("\n{:5} ICAO model codes", g_icaoModels().size()));
    const CodeSet cargoModels = lf_readRequired(document, "cargo_types", "cargo_type", "types");
    lf_seedModelTable(cargoModels);
    lf_readCategorySets(document);

    if (const auto section = lf_section(document, "similar_types"))
        lf_readGroups(section, g_similarTypeGroups());
    lf_readPrefixes(document);

    gf_readCodesSection(document, "ICAO_airlines", g_icaoAirlines());
    gf_logLine(fmt::format("{:5} ICAO airline codes", g_icaoAirlines().size()));
    CodeSet cargoOperators;
    gf_readCodesSection(document, "cargo_operators", cargoOperators);
    gf_logLine(fmt::format("{:5} cargo operators", cargoOperators.size()));
    lf_seedAirlineTable(cargoOperators);

    lf_readPublishers(document);
    if (const auto section = lf_section(document, "wingspans")) gf_readWingspansSection(section);
    lf_readFixes(document);

    g_simaddons20() = lf_readRequired(document, "simaddons20", "simaddon20", "arpts");
    g_simaddons24() = lf_readRequired(document, "simaddons24", "simaddon24", "arpts");
    gf_logLine(fmt::format("{} simaddons24", g_simaddons24().size()));
    g_thirdParties20().reserve(kThirdParties20Reserve);
    gf_readThirdPartiesSection(document, "thirdparties20", g_thirdParties20(), "thirdpartie20");
    g_thirdParties24().reserve(kThirdParties24Reserve);
    gf_readThirdPartiesSection(document, "thirdparties24", g_thirdParties24(), "thirdpartie24");

    lf_readRecords(document);
    gf_sortDbaseRecords();
    gf_logLine(fmt::format("{:5} dbase records read", g_dbaseRecords().size()));
}

}  // namespace

void gf_readXmlSection(const pugi::xml_document& document, std::string_view sectionName, CodeSet& target,
                       const char* elementName, const char* attributeName) {
    const pugi::xml_node root = document.child("root");
    if (!root) throw UserErrorException(kDbaseError, std::string("XML root missing: ") + "root");
    const pugi::xml_node section = root.child(std::string(sectionName).c_str());
    if (!section) throw UserErrorException(kDbaseError, fmt::format("Missing section: {}", sectionName));
    bool inserted = false;
    for (const pugi::xml_node element : section.children(elementName)) {
        for (auto& part : gf_splitComma(gf_attributeString(element, attributeName))) {
            if (part.empty()) continue;
            target.insert(std::move(part));
            inserted = true;
        }
    }
    if (!inserted) {
        throw UserErrorException(
            kDbaseError, fmt::format("In XML file section [{}], element [{}], attribute [{}] is empty.",
                                     sectionName, elementName, attributeName));
    }
}

void gf_readTypesSection(const pugi::xml_document& document, std::string_view sectionName, CodeSet& target,
                         const char* elementName) {
    target = lf_readRequired(document, sectionName, elementName, "types");
}

void gf_readCodesSection(const pugi::xml_document& document, std::string_view sectionName, CodeSet& target) {
    target = lf_readRequired(document, sectionName, "ICAO", "codes");
}

void gf_readThirdPartiesSection(const pugi::xml_document& document, std::string_view sectionName,
                                std::vector<ThirdPartyEntry>& target, const char* elementName) {
    const auto section = lf_section(document, sectionName);
    if (!section) return;
    for (const pugi::xml_node element : section.children(elementName)) {
        target.push_back(
            {gf_attributeString(element, "pub"), gf_splitComma(gf_attributeString(element, "arpts"))});
    }
}

void gf_sortDbaseRecords() {
    auto& records = g_dbaseRecords();
    // Stable, so that of several records with one registration the first in the file survives.
    std::stable_sort(records.begin(), records.end(), [](const DbaseRecord& a, const DbaseRecord& b) {
        return a.registration < b.registration;
    });
    records.erase(std::unique(records.begin(), records.end(),
                              [](const DbaseRecord& a, const DbaseRecord& b) {
                                  return a.registration == b.registration;
                              }),
                  records.end());
    records.shrink_to_fit();
}

std::vector<std::string> gf_splitOnComma(std::string_view text) {
    return gf_splitComma(text);
}

double gf_attributeDouble(const pugi::xml_node& element, const char* attributeName) {
    return element.attribute(attributeName).as_double(0.0);
}

bool gf_readDbase() {
    if (!std::filesystem::exists(g_dbaseEncFile)) {
        throw std::runtime_error(fmt::format("{} not available", path_to_utf8(g_dbaseEncFile)));
    }
    PlainFileGuard plainFile(g_dbaseXmlFile);
    if (!gf_streamDecrypt(g_dbaseEncFile, g_dbaseXmlFile)) {
        throw std::runtime_error(fmt::format("{} stream decrypt failed", path_to_utf8(g_dbaseEncFile)));
    }
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(g_dbaseXmlFile.c_str());
    if (!parsed) {
        gf_logError(
            fmt::format("'{}' not read because of {}", path_to_utf8(g_dbaseXmlFile), parsed.description()));
        plainFile.removeNow();
        return false;
    }
    lf_readSections(document);
    plainFile.removeNow();
    return true;
}

}  // namespace mrw

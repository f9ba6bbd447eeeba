#include "aircraft/livery_extraction.h"

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_cfg_lines.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "aircraft/fltsim_sections.h"
#include "aircraft/model_determination.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"

#include <fmt/format.h>

#include <optional>

namespace mrw {

namespace {

// One file's context for its sections.
struct CfgFile {
    LiveriesScanState& state;
    int priority;
    const std::filesystem::path& cfgPath;
    const std::string& model;

    // The cfg path and its folder as report lines show them; built only for a report line, as the
    // conversion throws for a path the ANSI code page cannot hold.
    std::string cfgText() const { return gf_narrowPathText(cfgPath); }
    std::string folderText() const { return gf_narrowPathText(cfgPath.parent_path()); }
};

// What the key lines of one section gave.
struct SectionKeys {
    std::string title;
    std::string airline;
    std::string parkingTypes;
    std::string registration;
};

std::string gf_upperAscii(std::string text) {
    for (char& c : text)
        c = gf_toUpperChar(c);
    return text;
}

// Reads the key lines in order; false when reading stopped early.
bool lf_readSectionKeys(const CfgFile& file, const CfgLines& section, SectionKeys& keys) {
    const std::string& header = section.front();
    ScanReports& reports = file.state.reports;
    const auto incomplete = [&](std::string_view words) {
        reports.addIncompleteSection(fmt::format("{} {} {}", file.folderText(), header, words));
        return false;
    };
    std::string value;
    for (const std::string& line : section) {
        if (keys.title.empty() && gf_cfgTitle(line, value)) {
            keys.title = gf_trim(value);
            // The simulator's own airliners of these packages are not AI liveries.
            if (keys.title.find("FenixA320") != std::string::npos ||
                keys.title.find("PMDG 737") != std::string::npos) {
                return false;
            }
        } else if (!keys.title.empty() && gf_cfgTitle(line, value)) {
            return incomplete("has more than one title key");
        } else if (keys.airline.empty() && gf_cfgIcaoAirline(line, value)) {
            gf_normaliseCommaList(value);
            if (value.size() == 4 && (value[3] == 'X' || value[3] == 'C')) value.resize(3);
            if (!value.empty() && gf_isKnownAirline(value)) {
                keys.airline = value;
            } else if (value == "RFO") {
                return false;
            } else {
                reports.addInvalidAirline(value, file.cfgPath, header);
            }
        } else if (!keys.airline.empty() && line.find("icao_airline") != std::string::npos) {
            return incomplete("has more than one icao_airline key");
        } else if (keys.parkingTypes.empty() && gf_cfgAtcParkingTypes(line, value)) {
            gf_normaliseCommaList(value);
            keys.parkingTypes = gf_upperAscii(value);
        } else if (!keys.parkingTypes.empty() && gf_isAtcParkingTypesLine(line)) {
            return incomplete("has more than one atc_parking_types key");
        } else if (keys.registration.empty() && gf_cfgAtcId(line, value)) {
            const std::string cut = value.substr(0, value.find(';'));
            if (!gf_atcIdRegistration(cut, keys.registration)) {
                reports.addIncompleteSection(fmt::format("invalid atc_id={} in: {}", cut, keys.title));
            }
        } else if (!keys.registration.empty() && gf_isAtcIdLine(line)) {
            reports.addIncompleteSection(
                fmt::format("{}, {}, has more than one atc_id key", file.folderText(), header));
            return false;
        }
    }
    return true;
}

bool lf_isHeavy(const std::string& model) {
    return gf_acCategoryOfCode(model) == AcCategory::Heavy;
}

// The section's livery, or nothing.
std::optional<LiveryData> lf_procesFltSimSection(const CfgFile& file, CfgLines& section) {
    gf_dropTrailingComments(section);
    if (section.empty()) return std::nullopt;
    const std::string& header = section.front();
    ScanReports& reports = file.state.reports;
    SectionKeys keys;
    const bool complete = lf_readSectionKeys(file, section, keys);
    if (keys.airline.empty()) {
        reports.addIncompleteSection(
            fmt::format("{} {} icao_airline is missing, or it has invalid info ", file.cfgText(), header));
    }
    if (!complete) return std::nullopt;
    if (keys.title.empty()) {
        reports.addIncompleteSection(fmt::format("{} {} misses title", file.folderText(), header));
        return std::nullopt;
    }
    if (keys.title.find("Fictional") != std::string::npos) return std::nullopt;
    if (keys.title.ends_with("-STUB")) keys.airline = "ZZZ";
    if (file.state.isDontUseTitle(keys.title)) return std::nullopt;
    if (keys.airline == "ZZZ") keys.registration.clear();

    std::optional<AcDesignation> dbase;
    if (!keys.registration.empty()) dbase = gf_findDbaseRecord(keys.registration);
    const auto dbaseServes = [&] { return dbase && dbase->airline != 0; };
    if (keys.airline.empty()) {
        if (!keys.registration.empty()) {
            if (!dbaseServes()) {
                if (lf_isHeavy(file.model)) {
                    reports.addIncompleteSection(fmt::format(
                        "'{}' '{}' has no airline and regcode not in dbase", file.folderText(), header));
                    return std::nullopt;
                }
                keys.airline = "PVT";
            }
        } else {
            if (lf_isHeavy(file.model)) {
                reports.addIncompleteSection(
                    fmt::format("'{}' '{}' has no airline and no regcode info", file.folderText(), header));
                return std::nullopt;
            }
            keys.airline = "PVT";
            if (auto found = gf_findKeyInText(keys.title)) {
                keys.registration = std::move(*found);
                dbase = gf_findDbaseRecord(keys.registration);
            }
        }
    }

    AcDesignation designation;
    if (dbaseServes()) {
        designation = *dbase;
    } else {
        const bool cargo = keys.parkingTypes.find("CARGO") != std::string::npos &&
                           keys.parkingTypes.find("GATE") == std::string::npos;
        designation = {gf_airlineIndex(keys.airline), 0, gf_modelIndex(file.model),
                       static_cast<std::uint8_t>(cargo ? 1 : 0), 0};
    }
    if (designation.airline == 0 || designation.model == 0) {
        reports.addIncompleteSection(fmt::format("{} {} title '{}' has no airline or model code",
                                                 file.folderText(), header, keys.title));
        return std::nullopt;
    }
    LiveryData livery =
        gf_makeLiveryData(file.state, file.priority, designation, keys.title, keys.registration);
    if (livery.isIncomplete()) {
        reports.addIncompleteSection(
            fmt::format("{} {} title '{}' already exists", file.folderText(), header, keys.title));
        return std::nullopt;
    }
    return livery;
}

std::list<LiveryData> lf_splitFltSimSections(const CfgFile& file, CfgLines lines) {
    std::list<LiveryData> liveries;
    gf_forEachFltsimSection(std::move(lines), false, [&](CfgLines& section) {
        try {
            if (auto livery = lf_procesFltSimSection(file, section)) liveries.push_back(std::move(*livery));
        } catch (const std::exception& e) {
            gf_logLine(fmt::format("Exception in lf_procesFltSimSection: {}, file: {}", e.what(),
                                   path_to_utf8(file.cfgPath)));
            throw;
        }
    });
    return liveries;
}

}  // namespace

std::list<LiveryData> gf_searchLiveriesinFile(LiveriesScanState& state, int priority,
                                              const std::filesystem::path& cfgPath) {
    try {
        CfgLines lines;
        if (!gf_readCfgLines(cfgPath, lines, false, MissingCfgFile::Silent)) return {};
        if (!gf_checkFltsimNumbers(lines, cfgPath, state.reports)) return {};
        const std::string model = gf_modelFromCfg(cfgPath, lines, state.reports);
        if (model.empty()) return {};
        const CfgFile file{state, priority, cfgPath, model};
        return lf_splitFltSimSections(file, std::move(lines));
    } catch (const std::exception& e) {
        gf_logLine(
            fmt::format("! Exception in lf_searchLiveriesinFile {}: {}", path_to_utf8(cfgPath), e.what()));
        throw;
    }
}

}  // namespace mrw

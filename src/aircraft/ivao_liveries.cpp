#include "aircraft/ivao_liveries.h"

#include "aircraft/aircraft_cfg_lines.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "aircraft/fltsim_sections.h"
#include "aircraft/model_determination.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"

#include <fmt/format.h>

#include <array>
#include <optional>

namespace mrw {

namespace {

// Aircraft folders whose titles write a 'W' after the model code.
constexpr std::array<std::string_view, 5> kWFolders{"IVAO_B738WLfa", "IVAO_B739WLfa", "IVAO_A320wCFM",
                                                    "IVAO_A320wIAE", "IVAO_A319fIAEw"};

struct IvaoFile {
    LiveriesScanState& state;
    int priority;
    const std::filesystem::path& cfgPath;
    const std::string& model;
    bool wFolder;

    std::string folderText() const { return gf_narrowPathText(cfgPath.parent_path()); }
};

struct IvaoKeys {
    std::string title;
    std::string parkingTypes;
    std::string registration;
    std::string texture;
};

// False when the section yields nothing.
bool lf_readIvaoKeys(const IvaoFile& file, const CfgLines& section, IvaoKeys& keys) {
    const std::string& header = section.front();
    ScanReports& reports = file.state.reports;
    std::string value;
    for (const std::string& line : section) {
        if (keys.title.empty() && gf_cfgTitle(line, value)) {
            keys.title = gf_trim(value);
            if (keys.title.size() != value.size()) {
                gf_logLine(fmt::format("removed spaces around title '{}' --> '{}'", value, keys.title));
            }
        } else if (!keys.title.empty() && gf_cfgTitle(line, value)) {
            reports.addIncompleteSection(
                fmt::format("{} {} has more than one title key", file.folderText(), header));
            return false;
        } else if (keys.parkingTypes.empty() && gf_cfgAtcParkingTypes(line, value)) {
            gf_normaliseCommaList(value);
            keys.parkingTypes = gf_upperAscii(value);
        } else if (!keys.parkingTypes.empty() && gf_isAtcParkingTypesLine(line)) {
            reports.addIncompleteSection(
                fmt::format("{} {} has more than one atc_parking_types key", file.folderText(), header));
            return false;
        } else if (keys.registration.empty() && gf_cfgAtcId(line, value)) {
            if (!gf_atcIdRegistration(value, keys.registration)) {
                reports.addIncompleteSection(fmt::format("invalid atc_id={} in {}", value, keys.title));
            }
        } else if (!keys.registration.empty() && gf_isAtcIdLine(line)) {
            reports.addIncompleteSection(
                fmt::format("{}, {}, has more than one atc_id key", file.folderText(), header));
            return false;
        } else if (keys.texture.empty()) {
            gf_cfgTexture(line, keys.texture);
        }
    }
    return true;
}

// The record of a complete designation whose title is new; otherwise its report line and nothing.
std::optional<LiveryData> lf_offer(const IvaoFile& file, const std::string& header,
                                   const AcDesignation& designation, const IvaoKeys& keys) {
    if (designation.airline == 0 || designation.model == 0) {
        file.state.reports.addIncompleteSection(
            fmt::format("{} {} has no airline or model code: {}", file.folderText(), header, keys.title));
        return std::nullopt;
    }
    LiveryData livery =
        gf_makeLiveryData(file.state, file.priority, designation, keys.title, keys.registration);
    if (livery.isIncomplete()) {
        file.state.reports.addIncompleteSection(
            fmt::format("{} {} title already exists: {}", file.folderText(), header, keys.title));
        return std::nullopt;
    }
    return livery;
}

std::optional<LiveryData> lf_procesIvaoFltSimSection(const IvaoFile& file, CfgLines& section) {
    gf_dropTrailingComments(section);
    if (section.empty()) return std::nullopt;
    const std::string& header = section.front();
    ScanReports& reports = file.state.reports;
    IvaoKeys keys;
    if (!lf_readIvaoKeys(file, section, keys)) return std::nullopt;

    const std::filesystem::path textureFolder = file.cfgPath.parent_path() / ("texture." + keys.texture);
    if (!std::filesystem::is_directory(textureFolder)) {  // an unreadable status throws
        reports.addIncompleteSection(
            fmt::format("{} {} does not exist", gf_narrowPathText(textureFolder), header));
        return std::nullopt;
    }
    if (keys.title.empty()) {
        reports.addIncompleteSection(fmt::format("{} {} misses title", file.folderText(), header));
        return std::nullopt;
    }
    if (file.state.isDontUseTitle(keys.title)) return std::nullopt;

    const std::string airline = gf_ivaoTitleAirline(keys.title, file.model, file.wFolder);
    if (!airline.empty()) {
        if (!gf_isKnownAirline(airline)) {
            reports.addInvalidAirline(airline, file.cfgPath, header);
            return std::nullopt;
        }
        if (airline == "ZZZ") keys.registration.clear();
        const AcDesignation designation{gf_airlineIndex(airline), 0, gf_modelIndex(file.model), 0, 0};
        return lf_offer(file, header, designation, keys);
    }
    if (keys.registration.empty()) {
        reports.addIncompleteSection(fmt::format("{} {} misses airlinecode in title: {}, and no regcode",
                                                 file.folderText(), header, keys.title));
        return std::nullopt;
    }
    if (const auto dbase = gf_findDbaseRecord(keys.registration)) return lf_offer(file, header, *dbase, keys);
    reports.addIncompleteSection(fmt::format("{} {} misses airlinecode in title: {}, and regcode unknown {}",
                                             file.folderText(), header, keys.title, keys.registration));
    return std::nullopt;
}

bool lf_isWFolder(const std::filesystem::path& folder) {
    const std::string text = path_to_utf8(folder);
    for (const std::string_view name : kWFolders) {
        if (text.find(name) != std::string::npos) return true;
    }
    return false;
}

}  // namespace

std::string gf_ivaoTitleAirline(std::string_view title, std::string_view model, bool wFolder) {
    std::size_t pos = 0;
    const auto takeNoCase = [&](std::string_view word) {
        if (title.size() - pos < word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (gf_toUpperChar(title[pos + i]) != gf_toUpperChar(word[i])) return false;
        }
        pos += word.size();
        return true;
    };
    if (!takeNoCase(model) || (wFolder && !takeNoCase("W"))) return {};
    while (pos < title.size() && gf_isPatternSpace(title[pos]))
        ++pos;
    if (title.size() - pos < 3) return {};
    const std::string_view airline = title.substr(pos, 3);
    for (const char c : airline) {
        if (!gf_isWordChar(c)) return {};
    }
    // The rest of the title may be anything but a line end.
    if (title.substr(pos + 3).find_first_of("\r\n") != std::string_view::npos) return {};
    return std::string(airline);
}

std::list<LiveryData> gf_searchLiveriesinIVAOFile(LiveriesScanState& state, int priority,
                                                  const std::filesystem::path& cfgPath) {
    try {
        const std::string model = gf_modelFromIvaoPath(cfgPath, state.reports);
        if (model.empty()) return {};
        CfgLines lines;
        if (!gf_readCfgLines(cfgPath, lines, true, MissingCfgFile::Reported)) return {};
        if (!gf_checkFltsimNumbers(lines, cfgPath, state.reports)) return {};
        const IvaoFile file{state, priority, cfgPath, model, lf_isWFolder(cfgPath.parent_path())};
        std::list<LiveryData> liveries;
        gf_forEachFltsimSection(std::move(lines), true, [&](CfgLines& section) {
            if (auto livery = lf_procesIvaoFltSimSection(file, section))
                liveries.push_back(std::move(*livery));
        });
        return liveries;
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("! Exception in lf_searchLiveriesinIVAOFile {}: {}", path_to_utf8(cfgPath),
                               e.what()));
        throw;
    } catch (...) {
        gf_logLine(
            fmt::format("! Unknown exception in lf_searchLiveriesinIVAOFile {}", path_to_utf8(cfgPath)));
        throw;
    }
}

}  // namespace mrw

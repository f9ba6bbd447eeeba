#include "airports/learned_airport_files.h"

#include <cmath>
#include <exception>
#include <string_view>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "aircraft/aircraft_texts.h"
#include "airports/airport_file_reader.h"
#include "airports/learned_airport_files_internal.h"
#include "airports/park_airport_data.h"
#include "airports/park_airport_file.h"
#include "config/control_updates.h"
#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_elements.h"
#include "config/traffic_range.h"
#include "foundation/half_hour_set.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/version_data.h"

namespace mrw {

namespace {

// Learned files of older versions keep their settings and manual stands, not their uses.
const VersionData kLearnedUsesSince{11, 10, 0};

template <typename T>
void lf_logSetting(std::string_view name, const T& value) {
    gf_logIndented(fmt::format("{:24}: {}", name, value));
}

void lf_applyBool(const pugi::xml_node& document, CheckBoxParameter& setting) {
    const std::optional<bool> value = gf_readBoolParameter(document, setting.name);
    if (!value) return;
    setting.current = *value;
    setting.showCheck();
    lf_logSetting(setting.name, *value);
}

void lf_applyMaxLiveSel(const pugi::xml_node& document) {
    auto& setting = g_parameters().MAX_LIVE_SEL;
    const std::optional<std::int32_t> value = gf_readIntParameter(document, setting.name);
    if (!value) return;
    setting.current = setting.clamp(*value);
    gf_selectChoice(setting, setting.current.load());
    lf_logSetting(setting.name, setting.current.load());
}

std::optional<std::int32_t> lf_applyRange(const pugi::xml_node& document) {
    auto& settings = g_parameters();
    const std::optional<std::int32_t> value = gf_readIntParameter(document, settings.RANGE.name);
    if (!value) return std::nullopt;
    gf_setRangeNm(*value);
    gf_enableControl(settings.RANGE, true);
    lf_logSetting(settings.RANGE.name, *value);
    return value;
}

void lf_applyAutoRange(const pugi::xml_node& document, std::optional<std::int32_t> learnedRange) {
    auto& setting = g_parameters().AUTO_RANGE;
    if (!gf_readBoolParameter(document, setting.name)) return;
    lf_applyBool(document, setting);
    gf_applyAutoRange();
    // Switched off, the automatic range puts back the range remembered when it was last switched
    // on; the airport's own range is the one meant here (the writer stores both, always).
    if (!setting.current.load() && learnedRange) gf_setRangeNm(*learnedRange);
}

void lf_applyParkingPercentage(const pugi::xml_node& document) {
    auto& setting = g_parameters().parking_percentage;
    if (const std::optional<std::int32_t> value = gf_readIntParameter(document, setting.name)) {
        // Clamped like every other learned value: a stored 250 % is no percentage to park by.
        setting.current = setting.clamp(*value);
        lf_logSetting(setting.name, setting.current.load());
    } else {
        setting.current = 30;
    }
    gf_selectChoice(setting, setting.current.load());
}

void lf_applyMaxFit(const pugi::xml_node& document) {
    auto& settings = g_parameters();
    const std::optional<std::int32_t> value = gf_readIntParameter(document, settings.MAX_FIT.name);
    if (!value) return;
    settings.MAX_FIT.current = settings.MAX_FIT.clamp(*value);
    gf_selectMaxFit();
    gf_logIndented(fmt::format("{:24}: {} (max number of half hours, is {:.1F} hrs decimal)",
                               settings.MAX_FIT.name, settings.MAX_FIT.current.load(),
                               settings.MAX_FIT_FL.current.load()));
}

void lf_applyInitialLoadOnly(const pugi::xml_node& document) {
    auto& settings = g_parameters();
    if (!gf_readBoolParameter(document, settings.INITIAL_LOAD_ONLY.name)) return;
    lf_applyBool(document, settings.INITIAL_LOAD_ONLY);
    gf_enableControl(settings.nowButton, !settings.INITIAL_LOAD_ONLY.current.load());
}

void lf_applySettings(const pugi::xml_node& document) {
    auto& settings = g_parameters();
    lf_applyMaxLiveSel(document);
    const std::optional<std::int32_t> learnedRange = lf_applyRange(document);
    lf_applyAutoRange(document, learnedRange);
    lf_applyParkingPercentage(document);
    lf_applyBool(document, settings.WEEK);
    lf_applyBool(document, settings.PARK_SOFT);
    lf_applyMaxFit(document);
    lf_applyInitialLoadOnly(document);
}

bool lf_olderFile(const DataFileMeta& meta) {
    const bool older = VersionData(meta.version) < kLearnedUsesSince;
    if (older)
        gf_logLine(
            "\nThis learned file was created with and older MRWV version than 11.10.0,\nAll flights will be "
            "cleared, except for a handmade file\n");
    return older;
}

void lf_compareAirportName(const pugi::xml_node& document, const ApfInfo& info) {
    const std::string learnedName = gf_readStringParameter(document, "airport_name").value_or("");
    if (learnedName != info.airportName)
        gf_setMessage(
            fmt::format("Warning: learned file airport name: '{}' differs from archived file airport "
                        "name: '{}'",
                        learnedName, info.airportName),
            true);
}

bool lf_hasStand(std::string_view id) {
    for (const Stand& stand : g_parkStands)
        if (stand.id == id) return true;
    return false;
}

void lf_addManualStand(const pugi::xml_node& parkpos, const std::string& path) {
    // Trimmed and required, as the airport file reader does with its ids.
    const std::string id = gf_trim(parkpos.attribute("id").value());
    if (id.empty()) {
        gf_logError(fmt::format("manually created stand without id in {}", path));
        return;
    }
    if (lf_hasStand(id)) {
        gf_logError(fmt::format("manually created standid {} already exists in {}", id, path));
        return;
    }
    const double latitude = parkpos.attribute("latitude").as_double(0.0);
    const double longitude = parkpos.attribute("longitude").as_double(0.0);
    const double radius = parkpos.attribute("radius").as_double(0.0);
    if ((std::fabs(latitude) <= 0.0001 && std::fabs(longitude) <= 0.0001) || radius == 0.0) {
        gf_logError(fmt::format("manually created standid {} misses correct attributes in {}", id, path));
        return;
    }
    const std::size_t before = g_parkStands.size();
    gf_readParkPos(parkpos, id, 0);
    if (g_parkStands.size() > before) g_parkStands.back().manual = true;
}

// A learned stand that matches no stand of the airport file (renamed, or the file's stands could
// not be read) is kept as it was learned, so that the next save writes it back.
void lf_keepUnmatched(const LearnedStand& learned) {
    Stand stand({}, std::string(learned.id), 0.0, 0.0, 0.0, 0.0, 0, false, false, false);
    lf_mergeLearnedStand(learned, stand);
    g_unmatchedLearnedStands.push_back(std::move(stand));
}

void lf_mergeStands(const pugi::xml_node& parkPositions, bool older, const std::string& path) {
    for (const pugi::xml_node parkpos : parkPositions.children("parkpos")) {
        if (parkpos.attribute("manual").as_bool(false)) {
            lf_addManualStand(parkpos, path);
            continue;
        }
        const LearnedStand learned{parkpos.attribute("id").value(), parkpos, older};
        bool merged = false;
        for (Stand& stand : g_parkStands)
            if ((merged = lf_mergeLearnedStand(learned, stand))) break;
        if (merged) continue;
        gf_logLine(fmt::format("learned stand {} in {} not found?", learned.id, path));
        lf_keepUnmatched(learned);
    }
}

bool lf_sameUse(const StandOption& a, const StandOption& b) {
    return a.day == b.day && a.real == b.real && a.registration == b.registration &&
           a.designation.airline == b.designation.airline &&
           a.designation.operatorAirline == b.designation.operatorAirline &&
           a.designation.model == b.designation.model && (a.halfHours & b.halfHours).any();
}

void lf_mergeOption(const pugi::xml_node& opt, Stand& stand, std::int32_t& nextSequence) {
    OptionIdentity identity = gf_readOption(opt);
    const HalfHourSet halfHours = gf_hours2bitset(opt.attribute("hh").value());
    if (halfHours.none()) {
        gf_logError("empty bit set");
        return;
    }
    StandOption option{identity.designation,
                       opt.attribute("reg").value(),
                       std::move(identity.callsign),
                       std::move(identity.secondCallsign),
                       halfHours,
                       nextSequence,
                       opt.attribute("day").as_int(0),
                       0,
                       opt.attribute("soft").as_bool(false) ? 0 : 1,
                       opt.attribute("cpl").as_bool(false)};
    for (const StandOption& existing : stand.options) {
        if (!lf_sameUse(existing, option)) continue;
        gf_logError(fmt::format("learned {}: day:{} {} {} cs:{} reg:{} already in airport file", stand.id,
                                option.day, gf_bitsetToList(option.halfHours).value_or(""),
                                gf_designationText(option.designation), option.callsign,
                                option.registration));
        return;
    }
    stand.options.push_back(std::move(option));
    ++nextSequence;
}

pugi::xml_node lf_parkPositions(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    return root ? root.child("parkpositions") : document.child("parkpositions");
}

void lf_readLearnedDocument(const pugi::xml_document& document, const std::string& path,
                            const ApfInfo& info) {
    gf_logLine(fmt::format("Read from learned airport file: '{}'", path));
    const std::optional<DataFileMeta> meta = gf_readMeta(document, true);
    if (!meta) return;
    const bool older = lf_olderFile(*meta);
    lf_compareAirportName(document, info);
    lf_applySettings(document);
    if (const std::optional<std::string> handmade = gf_readStringParameter(document, "handmade")) {
        g_handmade = true;
        gf_clearStands();
        gf_readParkPositions(document);
        lf_logSetting("handmade", *handmade);
        return;
    }
    g_handmade = false;
    if (const pugi::xml_node parkPositions = lf_parkPositions(document))
        lf_mergeStands(parkPositions, older, path);
}

}  // namespace

bool lf_mergeLearnedStand(const LearnedStand& learned, Stand& stand) {
    if (stand.id != learned.id) return false;
    const pugi::xml_node& parkpos = learned.parkpos;
    if (parkpos.attribute("radius_change").as_bool(false)) {
        stand.radius = parkpos.attribute("radius").as_double(0.0) * kNmPerMetre;
        stand.radiusChanged = true;
    }
    if (parkpos.attribute("cargo_change").as_bool(false)) {
        stand.cargo = parkpos.attribute("cargo").as_bool(false);
        stand.cargoChanged = true;
    }
    if (learned.older) return true;
    std::int32_t nextSequence = stand.options.empty() ? 1 : stand.options.back().sequence + 1;
    for (const pugi::xml_node opt : parkpos.children("opt"))
        lf_mergeOption(opt, stand, nextSequence);
    return true;
}

void lf_readLearned(const std::filesystem::path& path, const ApfInfo& info) {
    const std::string pathText = path_to_utf8(path);
    try {
        pugi::xml_document document;
        const pugi::xml_parse_result loaded = document.load_file(path.c_str());
        if (!loaded) {
            gf_save1GenerationOf(path);
            gf_logError(fmt::format("{} found, but could not be loaded, saved as *.0.xml: {}", pathText,
                                    loaded.description()));
            return;
        }
        lf_readLearnedDocument(document, pathText, info);
    } catch (const std::exception& e) {
        // What was merged stays in use, but the learned file is not rewritten from it: a handmade
        // stand list that failed half-way would otherwise replace the whole file.
        g_learnedStandsIncomplete = true;
        gf_logLine(fmt::format("{}: {}", "lf_readLearned", e.what()));
    }
}

}  // namespace mrw

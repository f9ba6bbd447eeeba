#include "airports/park_airport_file.h"

#include <algorithm>
#include <exception>
#include <filesystem>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/airport_file_lookup.h"
#include "airports/airport_file_reader.h"
#include "airports/airports_database.h"
#include "airports/park_airport_data.h"
#include "airports/quality_factors.h"
#include "airports/stand_overlaps.h"
#include "config/control_updates.h"
#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_elements.h"
#include "config/traffic_range.h"
#include "foundation/geometry.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"

namespace mrw {

namespace {

// What the park airport's file says besides its stands, kept for the log and the window.
struct ApfParameters {
    std::optional<std::string> version;
    std::optional<bool> facilities;
};

// References are Windows path texts; '/' stands for '\' on this platform.
std::filesystem::path lf_localPath(const std::string& reference) {
    std::string text = reference;
    std::replace(text.begin(), text.end(), '\\', '/');
    return std::filesystem::path(text);
}

pugi::xml_node lf_parkPositions(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    return root ? root.child("parkpositions") : document.child("parkpositions");
}

ApfParameters lf_readParameters(const pugi::xml_document& document, ApfInfo& info) {
    g_rtTrafficWeek = gf_readIntParameter(document, "RT_traffic_week").value_or(0);
    info.publisher = gf_readStringParameter(document, "publisher").value_or("");
    ApfParameters found{gf_readStringParameter(document, "version"),
                        gf_readBoolParameter(document, "Facilities")};
    const std::optional<std::int32_t> altitude = gf_readIntParameter(document, "altitude");
    if (!altitude) throw UserErrorException(65, fmt::format("Parameter {} not found", "altitude"));
    info.altitude = *altitude;
    g_parkAirport.altitude = static_cast<float>(*altitude);
    info.airportName = gf_readStringParameter(document, "airport_name").value_or("");
    return found;
}

// The file's own factors when it has both, else those of its stands: never the factors of the
// airport read before, which would switch PARK_SOFT and WEEK for this one.
void lf_setQualityFactors(const pugi::xml_document& document) {
    const std::optional<std::int32_t> real = gf_readIntParameter(document, "Qf_real");
    const std::optional<std::int32_t> soft = gf_readIntParameter(document, "Qf_soft");
    g_qualityFactors = real && soft ? QualityFactors{*real, *soft} : gf_qualityFactors();
}

void lf_saveUserValues() {
    auto& settings = g_parameters();
    g_userParameterValues =
        UserParameterValues{settings.MAX_LIVE_SEL.current.load(), settings.MAX_FIT.current.load(),
                            settings.RANGE.current.load(),        settings.parking_percentage.current.load(),
                            settings.AUTO_RANGE.current.load(),   settings.INITIAL_LOAD_ONLY.current.load(),
                            settings.PARK_SOFT.current.load(),    settings.WEEK.current.load()};
}

void lf_setCheck(CheckBoxParameter& setting, bool value) {
    setting.current = value;
    setting.showCheck();
}

// Defaults for an airport without learned file; none of them is saved.
void lf_setDefaults() {
    auto& settings = g_parameters();
    const QualityFactors factors = g_qualityFactors;
    if (factors.real <= 2 && factors.soft > 0) {
        lf_setCheck(settings.PARK_SOFT, true);
        lf_setCheck(settings.WEEK, true);
        settings.MAX_FIT_FL.current = 24.0f;
        gf_selectChoice(settings.MAX_FIT_FL, 24.0f);
    } else if (factors.real > 45) {
        lf_setCheck(settings.PARK_SOFT, false);
        lf_setCheck(settings.WEEK, false);
    }
    const Airport* airport = gf_findAirport(g_parkAirport.code);
    const std::int32_t s = airport ? airport->s : 0;
    auto& percentage = settings.parking_percentage;
    percentage.current = s == 1 ? 100 : s == 2 ? 50 : 30;
    gf_logIndented(fmt::format("{:24}: {}%", percentage.name, percentage.current.load()));
    gf_selectChoice(percentage, percentage.current.load());
    gf_enableControl(percentage, true);
}

void lf_readLearnedOrSetDefaults(const std::filesystem::path& learned, const ApfInfo& info) {
    if (!learned.empty() && std::filesystem::exists(learned)) {
        lf_readLearned(learned, info);
        g_qualityFactors = gf_qualityFactors();
        if (g_handmade) gf_logLine("A handmade airport file overruled the archived file!");
        return;
    }
    gf_logLine(fmt::format("learned '{}' does not exist", path_to_utf8(learned)));
    lf_setDefaults();
}

void lf_numberStandsAndOverlaps() {
    std::int32_t number = 0;
    for (Stand& stand : g_parkStands)
        stand.number = ++number;
    gf_findStandOverlaps(g_parkStands);
}

void lf_showAndLog(const std::string& reference, const std::filesystem::path& learned, const ApfInfo& info,
                   const ApfParameters& found) {
    auto& window = g_mainWindow();
    gf_logLine(fmt::format("Airport file read from '{}' for {}",
                           g_handmade ? path_to_utf8(learned) : reference, info.airportName));
    window.parkPublisherText.set(found.version ? fmt::format("{} ({})", info.publisher, *found.version)
                                               : info.publisher);
    window.parkHandmade = g_handmade ? 1 : 0;
    gf_invalidateStatusBand();
    gf_logIndented(fmt::format("{:24}: {}", "publisher", info.publisher));
    if (found.version) gf_logIndented(fmt::format("{:24}: {}", "version", *found.version));
    gf_logIndented(fmt::format("{:24}: {} ft", "altitude", info.altitude));
    gf_logIndented(fmt::format("{:24}: {}", "num_parkpos", g_parkStands.size()));
    if (found.facilities) gf_logIndented(fmt::format("{:24}: {}", "Facilities", *found.facilities));
    gf_logIndented(fmt::format("{:24}: {}", "quality factor", gf_qualityFactorText()));
    gf_logIndented(fmt::format("{:24}: {}", "RT traffic week", g_rtTrafficWeek));
    window.parkQualityText.set(gf_qualityFactorText());
    gf_invalidateStatusBand();
}

std::string lf_readFile(const std::string& reference, const std::filesystem::path& path, ApfInfo& info) {
    g_handmade = false;
    // Learned stands kept aside belong to the airport read before; they must not reach this one's file.
    g_unmatchedLearnedStands.clear();
    g_learnedStandsIncomplete = false;
    pugi::xml_document document;
    if (!document.load_file(path.c_str()))
        return fmt::format("{}: could not load file: {}", reference, path_to_utf8(path));
    if (!gf_readMeta(document, false)) return fmt::format("{}: refused to load", reference);
    const ApfParameters found = lf_readParameters(document, info);
    gf_readParkPositions(document);
    lf_setQualityFactors(document);
    lf_saveUserValues();
    const std::filesystem::path learned =
        gf_learnedApfPath(path_to_utf8(gf_shortApfPath(reference)), info.publisher);
    lf_readLearnedOrSetDefaults(learned, info);
    g_mainWindow().standsCount = static_cast<std::int32_t>(g_parkStands.size());
    gf_invalidateStatusBand();
    lf_numberStandsAndOverlaps();
    lf_showAndLog(reference, learned, info, found);
    g_parkFileLoaded.exchange(true);
    gf_enableControl(g_parameters().flushStaticButton, true);
    if (g_parkAirport.code.empty()) {
        g_groundElevation.reset();
    } else {
        g_groundElevation.store(static_cast<double>(g_parkAirport.altitude));
    }
    gf_invalidateStatusBand();
    return g_parkStands.empty() ? "no stands found" : "";
}

void lf_removeNeighbourDownload() {
    if (std::filesystem::exists(g_neighbourAirportDownload))
        std::filesystem::remove(g_neighbourAirportDownload);
}

double lf_nearestStand(const std::string& reference, const Lalo& position, std::string& standId) {
    std::filesystem::path path = lf_localPath(reference);
    if (!gf_isLocalApfReference(reference)) {
        if (!gf_downloadApf(reference, g_neighbourAirportDownload).empty()) return 100.0;
        path = g_neighbourAirportDownload;
    }
    pugi::xml_document document;
    if (!document.load_file(path.c_str())) return 100.0;
    const pugi::xml_node parkPositions = lf_parkPositions(document);
    double best = 100.0;
    for (const pugi::xml_node parkpos : parkPositions.children("parkpos")) {
        const double distance = gf_distanceNm(position, {parkpos.attribute("latitude").as_double(0.0),
                                                         parkpos.attribute("longitude").as_double(0.0)});
        if (distance < best) {
            best = distance;
            standId = parkpos.attribute("id").value();
        }
    }
    lf_removeNeighbourDownload();
    return best;
}

}  // namespace

std::string gf_readApf(const std::string& reference, ApfInfo& info) {
    if (reference.empty()) return fmt::format("{}: xml is empty", "gf_readApf");
    if (g_parkAirport.code.empty()) return fmt::format("{}: no park airport set", "gf_readApf");
    const bool local = gf_isLocalApfReference(reference);
    if (!local) {
        std::string error = gf_downloadApf(reference, g_parkAirportDownload);
        if (!error.empty()) return error;
    }
    try {
        return lf_readFile(reference, local ? lf_localPath(reference) : g_parkAirportDownload, info);
    } catch (const UserErrorException&) {
        throw;
    } catch (const std::exception& e) {
        return fmt::format("{}: {}", "gf_readApf", e.what());
    }
}

void gf_clearStands() {
    g_parkStands.clear();
    g_unmatchedLearnedStands.clear();
    g_learnedStandsIncomplete = false;
}

double gf_readDestApfForClosestStand(FixedCode<4> code, const Lalo& position, std::string& standId) {
    try {
        const std::string reference = gf_apfFileName(code);
        if (reference.empty()) return 100.0;
        return lf_nearestStand(reference, position, standId);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: {}", "gf_readDestApfForClosestStand", e.what()));
        return 100.0;
    }
}

}  // namespace mrw

#include "airports/airport_file.h"

#include <cmath>
#include <exception>
#include <sstream>
#include <system_error>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "airports/learned_airport_files.h"
#include "config/data_file_meta.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_replace.h"
#include "foundation/half_hour_set.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/version_data.h"
#include "foundation/xml_helpers.h"

namespace mrw {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kMetresPerNm = 1852.0;

// Every attribute value passes as a view: the helper's std::string overload makes texts ambiguous.
void lf_attribute(pugi::xml_node& node, const char* name, std::string_view value) {
    gf_appendAttribute(node, name, value);
}

const char* lf_boolText(bool value) {
    return value ? "true" : "false";
}

void lf_appendParameter(pugi::xml_node& parameters, const char* name, std::string_view value) {
    pugi::xml_node parameter = parameters.append_child("parameter");
    lf_attribute(parameter, "name", name);
    lf_attribute(parameter, "value", value);
}

// The per-airport values of eight settings, which a learned file keeps for its
// airport.
void lf_appendLearnedSettings(pugi::xml_node& parameters) {
    auto& settings = g_parameters();
    lf_appendParameter(parameters, "RANGE", fmt::format("{}", settings.RANGE.current.load()));
    lf_appendParameter(parameters, "AUTO_RANGE", lf_boolText(settings.AUTO_RANGE.current.load()));
    lf_appendParameter(parameters, "WEEK", lf_boolText(settings.WEEK.current.load()));
    lf_appendParameter(parameters, "PARK_SOFT", lf_boolText(settings.PARK_SOFT.current.load()));
    lf_appendParameter(parameters, "parking_percentage",
                       fmt::format("{}", settings.parking_percentage.current.load()));
    lf_appendParameter(parameters, "INITIAL_LOAD_ONLY",
                       lf_boolText(settings.INITIAL_LOAD_ONLY.current.load()));
    // MAX_FIT_FL is in hours; MAX_FIT is the number of half hours it stands for,
    // less one.
    const long maxFit = std::lround(2.0 * static_cast<double>(settings.MAX_FIT_FL.current.load())) - 1;
    lf_appendParameter(parameters, "MAX_FIT", fmt::format("{}", maxFit));
    lf_appendParameter(parameters, "MAX_LIVE_SEL", fmt::format("{}", settings.MAX_LIVE_SEL.current.load()));
}

void lf_appendFullDescription(pugi::xml_node& parkpos, const Stand& stand) {
    lf_attribute(parkpos, "latitude", fmt::format("{:.6f}", stand.latitude));
    lf_attribute(parkpos, "longitude", fmt::format("{:.6f}", stand.longitude));
    lf_attribute(parkpos, "heading", fmt::format("{:.1f}", stand.heading * kDegreesPerRadian));
    lf_attribute(parkpos, "radius", fmt::format("{:.1f}", stand.radius * kMetresPerNm));
    lf_attribute(parkpos, "type", fmt::format("{}", stand.type));
    lf_attribute(parkpos, "cargo", lf_boolText(stand.cargo));
    lf_attribute(parkpos, "ramp", lf_boolText(stand.ramp));
    if (stand.heli) lf_attribute(parkpos, "heli", "true");
    if (stand.manual) lf_attribute(parkpos, "manual", "true");
}

void lf_appendChanges(pugi::xml_node& parkpos, const Stand& stand) {
    if (stand.radiusChanged) {
        lf_attribute(parkpos, "radius_change", "true");
        lf_attribute(parkpos, "radius", fmt::format("{:.1f}", stand.radius * kMetresPerNm));
    }
    if (stand.cargoChanged) {
        lf_attribute(parkpos, "cargo_change", "true");
        lf_attribute(parkpos, "cargo", lf_boolText(stand.cargo));
    }
}

// One run as "a" or "a:b", any other non-empty set as its comma list (the
// reader takes both).
std::optional<std::string> lf_halfHoursText(const HalfHourSet& halfHours) {
    if (auto run = gf_bitsetToRange(halfHours)) return run;
    return gf_bitsetToList(halfHours);
}

void lf_appendOption(pugi::xml_node& parkpos, const StandOption& option) {
    if (option.sequence == 0 || option.registration.empty()) return;
    const std::optional<std::string> halfHours = lf_halfHoursText(option.halfHours);
    if (!halfHours) {
        gf_logError(fmt::format("bit set problem: {} {} {}", gf_designationText(option.designation),
                                option.registration, option.callsign));
        return;
    }
    pugi::xml_node opt = parkpos.append_child("opt");
    lf_attribute(opt, "reg", option.registration);
    if (option.designation.fromDbase == 0) {
        lf_attribute(opt, "airl", g_airlineCodes().text(option.designation.airline));
        lf_attribute(opt, "type", g_modelCodes().text(option.designation.model));
    }
    if (option.real == 0) lf_attribute(opt, "soft", "true");
    lf_attribute(opt, "day", fmt::format("{}", option.day));
    lf_attribute(opt, "hh", *halfHours);
    if (!option.callsign.empty()) {
        lf_attribute(
            opt, "cs",
            option.secondCallsign.empty() ? option.callsign : option.callsign + ":" + option.secondCallsign);
    }
    if (option.cpl) lf_attribute(opt, "cpl", "true");
}

void lf_appendStand(pugi::xml_node& parkpositions, const Stand& stand, int mode) {
    pugi::xml_node parkpos = parkpositions.append_child("parkpos");
    lf_attribute(parkpos, "id", stand.id);
    if (mode == kApfGenerated) {
        lf_appendFullDescription(parkpos, stand);
        return;
    }
    const bool changed = stand.radiusChanged || stand.cargoChanged;
    if (stand.manual || (g_handmade && !changed)) {
        lf_appendFullDescription(parkpos, stand);
    } else if (changed) {
        lf_appendChanges(parkpos, stand);
    }
    for (const auto& option : stand.options)
        lf_appendOption(parkpos, option);
}

bool lf_writeDocument(pugi::xml_document& document, const AirportFile& file, int mode, int sim) {
    DataFileMeta meta;
    meta.version = g_programVersion.toString();
    meta.sim = sim;
    if (!gf_writeMeta(document, meta)) return false;
    pugi::xml_node root = document.child("root");
    if (!root) root = document.append_child("root");
    if (!root) return false;
    if (!gf_writeApfParameters(root, file, mode)) return false;
    pugi::xml_node parkpositions = root.append_child("parkpositions");
    if (!parkpositions) return false;
    for (const auto& stand : file.stands)
        lf_appendStand(parkpositions, stand, mode);
    return true;
}

}  // namespace

bool gf_writeApfParameters(pugi::xml_node root, const AirportFile& file, int mode) {
    pugi::xml_node parameters = root.append_child("parameters");
    if (!parameters) return false;
    const bool generated = mode == kApfGenerated;
    const bool stock = file.publisher == "stock";
    lf_appendParameter(parameters, "icao", file.code.view());
    lf_appendParameter(parameters, "airport_name", file.airportName);
    lf_appendParameter(parameters, "publisher", file.publisher);
    if (file.manifest && !file.manifest->version.empty() && !stock) {
        lf_appendParameter(parameters, "version", file.manifest->version);
    }
    if (g_handmade) lf_appendParameter(parameters, "handmade", "true");
    if (g_handmade || generated) lf_appendParameter(parameters, "altitude", fmt::format("{}", file.altitude));
    if (generated) lf_appendParameter(parameters, "num_parkpos", fmt::format("{}", file.stands.size()));
    if (!stock) lf_appendParameter(parameters, "Facilities", lf_boolText(file.Facilities));
    if (g_handmade && file.Qf_real >= 0)
        lf_appendParameter(parameters, "Qf_real", fmt::format("{}", file.Qf_real));
    if (g_handmade && file.Qf_soft >= 0)
        lf_appendParameter(parameters, "Qf_soft", fmt::format("{}", file.Qf_soft));
    if (file.publisher.empty()) {
        lf_appendParameter(parameters, "BGLpath", file.bglPathText);
        if (file.manifest) {
            lf_appendParameter(parameters, "manufacturer", file.manifest->manufacturer);
            lf_appendParameter(parameters, "creator", file.manifest->creator);
        }
    }
    if (mode == kApfLearned) lf_appendLearnedSettings(parameters);
    return true;
}

bool AirportFile::save(const std::filesystem::path& path, int mode, int sim) const {
    try {
        pugi::xml_document document;
        if (!lf_writeDocument(document, *this, mode, sim)) return false;
        if (path.has_parent_path()) {
            std::error_code ignored;  // a folder still missing makes the write below fail
            std::filesystem::create_directories(path.parent_path(), ignored);
        }
        std::ostringstream bytes;
        document.save(bytes, "  ", pugi::format_indent, pugi::encoding_auto);
        return !path.empty() && gf_replaceFile(path, bytes.str());
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} exception: {} ({})", "AirportFile::save", e.what(), path_to_utf8(path)));
        return false;
    }
}

}  // namespace mrw

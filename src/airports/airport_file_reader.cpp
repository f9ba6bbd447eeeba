#include "airports/airport_file_reader.h"

#include <cmath>
#include <exception>
#include <iterator>
#include <unordered_set>
#include <vector>

#include <fmt/format.h>

#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "airports/park_airport_data.h"
#include "foundation/half_hour_set.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"
#include "foundation/user_error_exception.h"

namespace mrw {

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

pugi::xml_node lf_parkPositions(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    return root ? root.child("parkpositions") : document.child("parkpositions");
}

// Cargo and ramp follow from a non-zero parking type; only type 0 takes them
// from the attributes.
void lf_cargoAndRamp(const pugi::xml_node& parkpos, std::int16_t type, bool& cargo, bool& ramp) {
    if (type == 0) {
        cargo = parkpos.attribute("cargo").as_bool(false);
        ramp = parkpos.attribute("ramp").as_bool(false);
        return;
    }
    cargo = type == 5 || type == 6;
    ramp = (type >= 1 && type <= 4) || type == 14;
}

std::vector<StandOption> lf_readOptions(const pugi::xml_node& parkpos, std::int32_t origin) {
    std::vector<StandOption> options;
    options.reserve(static_cast<std::size_t>(
        std::distance(parkpos.children("opt").begin(), parkpos.children("opt").end())));
    std::int32_t sequence = 0;
    for (const pugi::xml_node opt : parkpos.children("opt")) {
        const unsigned day = opt.attribute("day").as_uint(0);
        if (day < 1 || day > 7) continue;
        // Kept by the parsed set, not by the text: "48" or "19:14" give no half
        // hour at all.
        const HalfHourSet halfHours = gf_hours2bitset(opt.attribute("hh").value());
        if (halfHours.none()) continue;
        OptionIdentity identity = gf_readOption(opt);
        options.push_back(StandOption{
            identity.designation, opt.attribute("reg").value(), std::move(identity.callsign),
            std::move(identity.secondCallsign), halfHours, ++sequence, static_cast<std::int32_t>(day), origin,
            opt.attribute("soft").as_bool(false) ? 0 : 1, opt.attribute("cpl").as_bool(false)});
    }
    options.shrink_to_fit();
    return options;
}

}  // namespace

void gf_readParkPositions(const pugi::xml_document& document) {
    const pugi::xml_node parkPositions = lf_parkPositions(document);
    if (!parkPositions) return;
    std::unordered_set<std::string> seen;
    int count = 0;
    for (const pugi::xml_node parkpos : parkPositions.children("parkpos")) {
        ++count;
        const pugi::xml_attribute idAttribute = parkpos.attribute("id");
        if (!idAttribute)
            throw UserErrorException(93,
                                     fmt::format("Parking position #{} has no '{}' attribute.", count, "id"));
        std::string id = gf_trim(idAttribute.value());
        if (id.empty())
            throw UserErrorException(93, fmt::format("Stand #{} has empty '{}' attribute.", count, "id"));
        if (!seen.insert(id).second)
            throw UserErrorException(94, fmt::format("Stand '{}' appears more than once.", id));
        gf_readParkPos(parkpos, std::move(id), 1);
    }
}

void gf_readParkPos(const pugi::xml_node& parkpos, std::string id, std::int32_t origin) {
    const double latitude = parkpos.attribute("latitude").as_double(0.0);
    const double longitude = parkpos.attribute("longitude").as_double(0.0);
    if ((latitude == 0.0 && longitude == 0.0) || !std::isfinite(latitude) || !std::isfinite(longitude)) {
        gf_logError(fmt::format("stand {} has no valid lat/lon", id));
        return;
    }
    const double headingRad = parkpos.attribute("heading").as_double(0.0) * kRadiansPerDegree;
    const double radiusMetres = parkpos.attribute("radius").as_double(0.0);
    const auto type = static_cast<std::int16_t>(parkpos.attribute("type").as_int(0));
    bool cargo = false;
    bool ramp = false;
    lf_cargoAndRamp(parkpos, type, cargo, ramp);
    const bool heli = parkpos.attribute("heli").as_bool(false);
    g_parkStands.emplace_back(lf_readOptions(parkpos, origin), std::move(id), latitude, longitude, headingRad,
                              radiusMetres, type, cargo, ramp, heli);
}

OptionIdentity gf_readOption(const pugi::xml_node& opt) {
    OptionIdentity identity;
    try {
        const std::string_view cs = opt.attribute("cs").value();
        const std::size_t colon = cs.find(':');
        identity.callsign = std::string(cs.substr(0, colon));
        if (colon != std::string_view::npos) identity.secondCallsign = std::string(cs.substr(colon + 1));
        const std::string_view registration = opt.attribute("reg").value();
        const std::optional<AcDesignation> listed =
            registration.empty() ? std::nullopt : gf_findDbaseRecord(registration);
        identity.designation = listed ? *listed : gf_readOptionCodes(opt);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{} exception: {}", "gf_readOption", e.what()));
    }
    return identity;
}

AcDesignation gf_readOptionCodes(const pugi::xml_node& opt) {
    AcDesignation designation;
    designation.airline = gf_airlineIndex(opt.attribute("airl").value());
    designation.model = gf_modelIndex(opt.attribute("type").value());
    return designation;
}

}  // namespace mrw

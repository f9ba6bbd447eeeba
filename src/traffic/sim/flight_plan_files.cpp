#include "traffic/sim/flight_plan_files.h"

#include <fmt/format.h>

#include <system_error>

#include "foundation/file_replace.h"
#include "foundation/file_system.h"
#include "foundation/log.h"

namespace mrw {
namespace {

std::string_view lf_flightRules(AcCategory category) {
    switch (category) {
        case AcCategory::Buzjets:
        case AcCategory::Large:
        case AcCategory::Heavy:
            return "IFR";
        default:
            return "VFR";
    }
}

}  // namespace

bool gf_createFlightPlanFolder() {
    g_flightPlanFolder = g_dataDirectory() / "orig_dest";
    std::error_code error;
    std::filesystem::create_directories(g_flightPlanFolder, error);
    if (error) gf_logError(fmt::format("gf_createFlightPlanFolder: {}", error.message()));
    // A file of that name is no folder for the plans.
    return std::filesystem::is_directory(g_flightPlanFolder);
}

std::filesystem::path gf_flightPlanPath(std::uint32_t objectId) {
    return g_flightPlanFolder / fmt::format("{}.pln", objectId);
}

bool gf_writeFlightPlan(const std::filesystem::path& path, const AcProfile& profile) {
    const std::string text = fmt::format(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<SimBase.Document Type=\"AceXML\" version=\"4,3\">\n"
        "<FlightPlan.FlightPlan>\n"
        "<FPType>{}</FPType>\n"
        "<DepartureID>{}</DepartureID>\n"
        "<DestinationID>{}</DestinationID>\n"
        "</FlightPlan.FlightPlan>\n"
        "</SimBase.Document>\n"
        "\n",
        lf_flightRules(profile.category), profile.origin.view(), profile.destination.view());
    return gf_replaceFile(path, text);
}

}  // namespace mrw

#include "catalogue_test_fixture.h"

#include <pugixml.hpp>

#include <filesystem>

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/failed_liveries.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_data.h"
#include "aircraft/livery_matching.h"
#include "aircraft/prefix_groups.h"
#include "aircraft/regcode_store.h"
#include "aircraft/regcode_store_internal.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "support/process_data_directory.h"

namespace mrwtest {
namespace fs = std::filesystem;

const std::vector<FixtureLivery>& fixtureLiveries() {
    static const std::vector<FixtureLivery> liveries{
        {"AAL", "", "A321", false, "American Airlines A321 N101AA", "N101AA"},
        {"AAL", "", "A321", false, "American Airlines A321 N102AA", "N102AA"},
        {"AAL", "", "A321", false, "American Airlines A321 retro", "N103AA"},
        {"DLH", "", "A320", false, "Lufthansa A320 D-AIZA", "D-AIZA"},
        {"DLH", "", "A320", false, "Lufthansa A320 D-AIZB", "D-AIZB"},
        {"DLH", "", "B744", false, "Lufthansa B744 D-ABVM", "D-ABVM"},
        {"DLH", "", "B744", true, "Lufthansa Cargo B744", ""},
        {"FDX", "", "B77L", true, "FedEx B77L", ""},
        {"FDX", "", "B77L", true, "FedEx B77L N850FD", "N850FD"},
        {"BAW", "", "A320", false, "British Airways A320", ""},
        {"BAW", "", "A321", false, "British Airways A321", ""},
        {"DAL", "SKW", "CRJ9", false, "Delta Connection CRJ9 N901XJ", "N901XJ"},
        {"DAL", "SKW", "CRJ9", false, "Delta Connection CRJ9 N902XJ", "N902XJ"},
        {"SKW", "", "E175", false, "SkyWest E175 Blue", ""},
        {"SKW", "", "E175", false, "SkyWest E175 Delta colors", ""},
        {"DAL", "", "CRJ7", false, "Delta CRJ7 Mainline", ""},
        {"DAL", "", "CRJ7", false, "Delta CRJ7 SkyWest", ""},
        {"SKW", "", "CRJ2", false, "SkyWest CRJ2", ""},
        {"DAL", "", "A321", false, "Delta A321", ""},
        {"ZZZ", "", "A320", false, "Generic A320", ""},
        {"ZZZ", "", "B738", false, "Generic B738", ""},
        {"ZZZ", "", "B738", true, "Generic B738 Freighter", ""},
        {"ZZZ", "", "C172", false, "Generic C172", ""},
        {"PVT", "", "C172", false, "Private C172 Alpha", ""},
        {"PVT", "", "C172", false, "Private C172 Blue D-EABC", "D-EABC"},
        {"PVT", "", "C172", false, "Private C172 Green N172SP", "N172SP"},
        {"PVT", "", "C172", false, "Private C172 Red OE-KAB", "OE-KAB"},
        {"PVT", "", "PA28", false, "Private PA28 HB-PQA", "HB-PQA"},
        {"PVT", "", "SR22", false, "Private SR22 N122SR", "N122SR"},
        {"VJT", "", "CL35", false, "VistaJet CL35 9H-VCA", "9H-VCA"},
        {"PVT", "", "C680", false, "Private C680 N680CS", "N680CS"},
        {"PVT", "", "EC35", false, "Private EC35 D-HXAB", "D-HXAB"},
        {"PVT", "", "R44", false, "Private R44 G-OHEL", "G-OHEL"},
        {"RYR", "", "B738", false, "FSLTL_RYR_B738 Ryanair", ""},
        {"RYR", "", "B738", false, "Ryanair B738 EI-DCL", "EI-DCL"},
        {"KLM", "", "B77W", false, "KLM B77W", ""},
    };
    return liveries;
}

void writeLiveriesScanned(const std::vector<FixtureLivery>& liveries) {
    pugi::xml_document document;
    pugi::xml_node list = document.append_child("root").append_child("liveries");
    for (const FixtureLivery& livery : liveries) {
        pugi::xml_node l = list.append_child("l");
        l.append_attribute("a") = livery.airline.c_str();
        if (!livery.operatorCode.empty()) l.append_attribute("o") = livery.operatorCode.c_str();
        l.append_attribute("m") = livery.model.c_str();
        if (livery.cargo) l.append_attribute("c") = "true";
        l.append_attribute("t") = livery.title.c_str();
        if (!livery.registration.empty()) l.append_attribute("r") = livery.registration.c_str();
    }
    fs::create_directories(mrw::g_outputFolder);
    ASSERT_TRUE(document.save_file(mrw::g_liveriesScannedFile.c_str(), "  "));
}

namespace {

// The database fixture: models interned first in this order (so the light models' indexes ascend
// C172, C182, PA28, SR22, C150), their categories, similar types and registration prefix groups.
void seedDatabase() {
    resetAircraftData();
    mrw::gf_airlineIndex("");
    mrw::gf_modelIndex("");
    const char* const large[] = {"A319", "A320", "A321", "B738", "B739", "CRJ2", "CRJ7", "CRJ9", "E175"};
    const char* const heavy[] = {"B744", "B748", "B77L", "B77W"};
    const char* const buzjets[] = {"CL35", "C680"};
    const char* const rotorcraft[] = {"EC35", "R44"};
    const char* const highPerf[] = {"F16"};
    const char* const light[] = {"C172", "C182", "PA28", "SR22", "C150"};
    for (const char* code : large)
        mrw::g_largeModelSet().insert(mrw::gf_modelIndex(code));
    for (const char* code : heavy)
        mrw::g_heavyModelSet().insert(mrw::gf_modelIndex(code));
    for (const char* code : buzjets)
        mrw::g_buzjetModelSet().insert(mrw::gf_modelIndex(code));
    for (const char* code : rotorcraft)
        mrw::g_rotorcraftModelSet().insert(mrw::gf_modelIndex(code));
    for (const char* code : highPerf)
        mrw::g_highPerfModelSet().insert(mrw::gf_modelIndex(code));
    for (const char* code : light)
        mrw::gf_modelIndex(code);
    mrw::g_similarTypeGroups() = {
        {"A319", "A320", "A321"}, {"B738", "B739"}, {"B744", "B748"}, {"C172", "C182", "PA28"}};
    mrw::g_prefixGroups() = {{"HB-", "OE-"}};
    mrw::gf_buildPrefixGroups();
}

}  // namespace

void resetCatalogueState() {
    mrw::gf_clearLiveryCatalogue();
    mrw::gf_serveCatalogueClearRequest();
    mrw::g_liveriesProcessed.store(false);
    mrw::g_scannedLiveries().clear();
    mrw::g_dontUseTitles().clear();
    mrw::g_offlineRegcodeLines().clear();
    mrw::g_matchStepCounts.fill(0);
    mrw::g_failedTitles().clear();
    mrw::g_failedDesignations().clear();
    auto& parameters = mrw::g_parameters();
    parameters.RANDOM.current.store(true);
    parameters.MATCHING_DEPTH.current.store(4);
    parameters.LIGHT_AIRCRAFT.current.store(true);
    parameters.HIGH_PERF_AIRCRAFT.current.store(true);
    parameters.HELICOPTERS.current.store(true);
}

mrw::CodeIndex airlineIndex(std::string_view code) {
    return mrw::gf_airlineIndex(code);
}

mrw::CodeIndex modelIndex(std::string_view code) {
    return mrw::gf_modelIndex(code);
}

mrw::AcProfile makeAircraft(std::string_view airline, std::string_view operatorCode, std::string_view model,
                            bool cargo, std::string_view registration, std::string_view callsign) {
    mrw::AcProfile aircraft;
    aircraft.designation.airline = airlineIndex(airline);
    aircraft.designation.operatorAirline =
        operatorCode.empty() ? mrw::CodeIndex{0} : airlineIndex(operatorCode);
    aircraft.designation.model = modelIndex(model);
    aircraft.designation.isCargo = cargo ? 1 : 0;
    aircraft.registration = registration;
    aircraft.callsign = callsign;
    aircraft.category = mrw::gf_acCategory(aircraft.designation.model);
    return aircraft;
}

std::vector<std::string> logLines(const std::string& log) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = log.find('\n', start);
        lines.push_back(log.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> logLinesWithoutSettings(const std::string& log) {
    std::vector<std::string> lines = logLines(log);
    std::erase_if(lines, [](const std::string& line) {
        if (line.starts_with("==> ")) return true;
        const std::size_t equals = line.find('=');
        return equals != std::string::npos && equals > 0 &&
               line.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_") == equals;
    });
    return lines;
}

std::string storedSetting(const std::string& name) {
    pugi::xml_document document;
    if (!document.load_file(mrw::g_parametersFile().c_str())) return {};
    for (pugi::xml_node parameter : document.child("root").child("parameters").children("parameter")) {
        if (name == parameter.attribute("name").value()) return parameter.attribute("value").value();
    }
    return {};
}

void CatalogueTest::SetUp() {
    useProcessDataDirectory();
    resetCatalogueState();
    seedDatabase();
    mrw::g_parameters().RANDOM.current.store(false);
}

void CatalogueTest::TearDown() {
    resetCatalogueState();
    resetAircraftData();
}

void CatalogueTest::buildCatalogue(const std::vector<FixtureLivery>& liveries) {
    writeLiveriesScanned(liveries);
    mrw::gf_processScannedLiveries();
}

void CatalogueTest::mergeFixtureSpecials() {
    mrw::lf_mergeRegcodes({
        {"American Airlines A321 retro", {"N103AA"}, true},
        {"Lufthansa A320 D-AIZA", {"D-AIZA", "D-AIZX"}, true},
        {"Generic B738", {}, true},
        {"Not Installed Title", {"N999ZZ"}, false},
    });
}

}  // namespace mrwtest

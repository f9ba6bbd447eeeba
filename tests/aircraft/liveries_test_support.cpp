#include "liveries_test_support.h"

#include "aircraft/ac_category.h"
#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft_test_support.h"

#include <algorithm>

namespace mrwtest {

void seedLiveriesDatabase() {
    resetAircraftData();
    mrw::gf_airlineIndex("");
    mrw::gf_modelIndex("");
    mrw::g_icaoModels() = {"A320", "B738", "B744", "C172"};
    mrw::g_icaoAirlines() = {"KLM", "DLH", "EZY", "ZZZ", "PVT", "TRA"};
    mrw::g_modelFixes()["B73H"] = "B738";
    mrw::g_heavyModelSet().insert(mrw::gf_modelIndex("B744"));
    auto& records = mrw::g_dbaseRecords();
    records = {
        {"D-ABYA",
         {mrw::gf_airlineIndex("DLH"), mrw::gf_airlineIndex("TRA"), mrw::gf_modelIndex("B744"), 1, 1}},
        {"N172AB", {0, 0, mrw::gf_modelIndex("C172"), 0, 1}},
        {"PH-BXA", {mrw::gf_airlineIndex("KLM"), 0, mrw::gf_modelIndex("B738"), 0, 1}},
    };
    std::sort(records.begin(), records.end(),
              [](const auto& a, const auto& b) { return a.registration < b.registration; });
    mrw::g_modelCodes().setLoaded();
    mrw::g_airlineCodes().setLoaded();
}

mrw::LiveryData makeLivery(std::string title, std::string_view airline, std::string_view operatorAirline,
                           std::string_view model, std::string registration, bool cargo) {
    mrw::LiveryData l;
    l.title = std::move(title);
    l.registration = std::move(registration);
    l.codes.airline = mrw::gf_airlineIndex(airline);
    l.codes.operatorAirline = mrw::gf_airlineIndex(operatorAirline);
    l.codes.model = mrw::gf_modelIndex(model);
    l.codes.isCargo = cargo ? 1 : 0;
    return l;
}

}  // namespace mrwtest

// Livery catalogue build from 20,000 scanned liveries, and livery matches per second for a mix of
// live aircraft with and without registrations.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"
#include "aircraft/livery_catalogue.h"
#include "aircraft/livery_matching.h"
#include "foundation/file_names.h"
#include "traffic/model/aircraft_records.h"

namespace {

namespace fs = std::filesystem;

constexpr int kAirlines = 250;
constexpr int kModels = 40;
constexpr int kLiveries = 20000;

std::string airlineCode(int i) {
    return fmt::format("A{:02}", i % 100) + static_cast<char>('A' + i / 100);
}

std::string modelCode(int i) {
    return fmt::format("M{:03}", i);
}

std::string registration(int i) {
    return fmt::format("N{:05}", i);
}

// A program folder with output/LiveriesScanned.xml of 20,000 liveries: 250 airlines with 80 liveries
// each over 40 models, every second one with a registration, every tenth a cargo livery, and
// generic ones; the first quarter of the models large, the rest light.
class BenchFolder {
  public:
    BenchFolder() : m_path(fs::temp_directory_path() / fmt::format("mrw-bench-catalogue-{}", ::getpid())) {
        fs::create_directories(m_path / mrw::g_outputFolder);
        fs::current_path(m_path);
        pugi::xml_document document;
        pugi::xml_node list = document.append_child("root").append_child("liveries");
        for (int i = 0; i < kLiveries; ++i) {
            const int airline = i % kAirlines;
            const int model = (i / kAirlines) % kModels;
            pugi::xml_node l = list.append_child("l");
            l.append_attribute("a") = (i % 50 == 0 ? std::string("ZZZ") : airlineCode(airline)).c_str();
            l.append_attribute("m") = modelCode(model).c_str();
            if (i % 10 == 0) l.append_attribute("c") = "true";
            l.append_attribute("t") =
                fmt::format("Livery {:05} of {} {}", i, airlineCode(airline), modelCode(model)).c_str();
            if (i % 2 == 0) l.append_attribute("r") = registration(i).c_str();
        }
        document.save_file(mrw::g_liveriesScannedFile.c_str(), "  ");
        mrw::gf_airlineIndex("");
        mrw::gf_modelIndex("");
        for (int m = 0; m < kModels / 4; ++m)
            mrw::g_largeModelSet().insert(mrw::gf_modelIndex(modelCode(m)));
    }
    ~BenchFolder() {
        fs::current_path(fs::temp_directory_path());
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }

  private:
    fs::path m_path;
};

BenchFolder& benchFolder() {
    static BenchFolder folder;
    return folder;
}

void rebuildCatalogue() {
    mrw::gf_clearLiveryCatalogue();
    mrw::g_liveriesProcessed.store(false);
    mrw::gf_processScannedLiveries();
}

void BM_CatalogueBuild(benchmark::State& state) {
    benchFolder();
    for (auto _ : state)
        rebuildCatalogue();
    state.SetItemsProcessed(state.iterations() * kLiveries);
}
BENCHMARK(BM_CatalogueBuild)->Unit(benchmark::kMillisecond);

// Half the aircraft carry a registration (known or unknown to the store); the others are matched by
// airline and model, by the generic airline, or find nothing.
void BM_LiveMatches(benchmark::State& state) {
    benchFolder();
    rebuildCatalogue();
    std::vector<mrw::AcProfile> aircraft;
    for (int i = 0; i < 1000; ++i) {
        mrw::AcProfile profile;
        profile.callsign = fmt::format("BEN{}", i);
        profile.designation.airline =
            mrw::gf_airlineIndex(i % 7 == 0 ? std::string("XYZ") : airlineCode(i * 13));
        profile.designation.model = mrw::gf_modelIndex(modelCode(i % (kModels + 5)));
        profile.designation.isCargo = i % 9 == 0 ? 1 : 0;
        if (i % 2 == 0) profile.registration = registration(i % 4 == 0 ? i * 20 : 90000 + i);
        profile.category = mrw::gf_acCategory(profile.designation.model);
        aircraft.push_back(std::move(profile));
    }
    std::size_t next = 0;
    for (auto _ : state) {
        mrw::AcProfile& profile = aircraft[next];
        profile.liveryTitle = {};
        mrw::gf_matchLiveAcLivery(profile);
        benchmark::DoNotOptimize(profile.liveryTitle);
        next = (next + 1) % aircraft.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LiveMatches);

}  // namespace

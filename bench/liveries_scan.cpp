// The liveries scan on a generated packages folder: 2,000 aircraft.cfg files with 10,000 livery
// sections, searched with 1, 2 and all hardware threads; and writing and reading
// LiveriesScanned.xml with the 10,000 liveries.

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/liveries_scan_state.h"
#include "aircraft/liveries_scanned_xml.h"
#include "aircraft/livery_data.h"
#include "aircraft/livery_folder_search.h"
#include "traffic/run/main_worker.h"

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 2000;
constexpr int kSectionsPerFile = 5;
constexpr std::array<const char*, 6> kModels{"A320", "A321", "B738", "B739", "E190", "CRJ9"};
constexpr std::array<const char*, 8> kAirlines{"KLM", "DLH", "EZY", "RYR", "AFR", "BAW", "UAE", "SAS"};

// A program folder in the temporary folder, made the working folder, with a packages folder of
// AI liveries in it. Built once for the whole benchmark program.
class ScanFixture {
  public:
    ScanFixture() {
        std::random_device device;
        m_root = fs::temp_directory_path() / fmt::format("mrw-bench-liveries-{}", device());
        fs::create_directories(m_root / "output");
        fs::current_path(m_root);
        seedDatabase();
        writePackages();
    }
    ~ScanFixture() {
        std::error_code error;
        fs::current_path(fs::temp_directory_path(), error);
        fs::remove_all(m_root, error);
    }

    fs::path packages() const { return m_root / "Community" / "aig-aitraffic-oci"; }

  private:
    static void seedDatabase() {
        mrw::gf_airlineIndex("");
        mrw::gf_modelIndex("");
        for (const char* model : kModels)
            mrw::g_icaoModels().insert(model);
        for (const char* airline : kAirlines)
            mrw::g_icaoAirlines().insert(airline);
        mrw::g_modelCodes().setLoaded();
    }

    void writePackages() const {
        for (int file = 0; file < kFiles; ++file) {
            const fs::path folder = packages() / "SimObjects" / "Airplanes" / fmt::format("AIG_{:04}", file);
            fs::create_directories(folder);
            std::ofstream out(folder / "aircraft.cfg", std::ios::binary);
            out << "[VERSION]\nmajor = 1\nminor = 0\n\n[GENERAL]\natc_type = \"TT:ATCCOM.ATC_NAME\"\n"
                << "icao_type_designator = \"" << kModels[file % kModels.size()] << "\"\n\n";
            for (int section = 0; section < kSectionsPerFile; ++section) {
                const char* airline = kAirlines[(file + section) % kAirlines.size()];
                out << "[FLTSIM." << section << "]\n"
                    << "title = \"AIG " << kModels[file % kModels.size()] << " " << airline << " " << file
                    << "-" << section << "\"\n"
                    << "model = \"\"\ntexture = \"" << airline << "\"\n"
                    << "atc_id = \"PH-" << static_cast<char>('A' + section)
                    << fmt::format("{:03}", file % 1000) << "\"\n"
                    << "icao_airline = \"" << airline << "\"\n"
                    << "atc_parking_types = \"GATE,RAMP\"\n"
                    << "ui_variation = \"" << airline << " livery\"\n\n";
            }
        }
    }

    fs::path m_root;
};

ScanFixture& fixture() {
    static ScanFixture instance;  // every search has drained its workers before the program ends
    return instance;
}

void BM_SearchLiveries(benchmark::State& state) {
    ScanFixture& f = fixture();
    const auto threads = static_cast<std::int32_t>(state.range(0));
    std::size_t found = 0;
    for (auto _ : state) {
        mrw::g_scannedLiveries().clear();
        mrw::g_scanThreadLimit = threads;
        mrw::g_scanThreadsRunning = 0;
        mrw::gf_searchLiveriesinFolder(std::make_shared<mrw::LiveriesScanState>(), 1, f.packages());
        found = mrw::g_scannedLiveries().size();
        benchmark::DoNotOptimize(found);
    }
    if (found != static_cast<std::size_t>(kFiles * kSectionsPerFile))
        state.SkipWithError("not every livery was found");
    state.counters["liveries/s"] = benchmark::Counter(
        static_cast<double>(found) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void lf_threadArguments(benchmark::internal::Benchmark* b) {
    const auto all = static_cast<std::int64_t>(std::max(1u, std::thread::hardware_concurrency()));
    b->Arg(1)->Arg(2);
    if (all > 2) b->Arg(all);
}

BENCHMARK(BM_SearchLiveries)->Apply(lf_threadArguments)->Unit(benchmark::kMillisecond)->UseRealTime();

// 10,000 liveries as the scan leaves them, sorted.
void lf_fillLiveries() {
    auto& list = mrw::g_scannedLiveries();
    list.clear();
    for (int i = 0; i < kFiles * kSectionsPerFile; ++i) {
        mrw::LiveryData l;
        l.title = fmt::format("AIG livery {}", i);
        l.registration = i % 3 == 0 ? fmt::format("PH-{:05}", i) : "";
        l.codes.airline = mrw::gf_airlineIndex(kAirlines[i % kAirlines.size()]);
        l.codes.model = mrw::gf_modelIndex(kModels[i % kModels.size()]);
        l.codes.isCargo = i % 7 == 0 ? 1 : 0;
        list.push_back(std::move(l));
    }
    mrw::gf_sortLiveries(list);
}

void BM_WriteLiveriesScanned(benchmark::State& state) {
    fixture();
    lf_fillLiveries();
    for (auto _ : state) {
        if (!mrw::gf_writeLiveriesScanned()) state.SkipWithError("writing failed");
    }
    state.counters["liveries/s"] = benchmark::Counter(
        static_cast<double>(mrw::g_scannedLiveries().size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

BENCHMARK(BM_WriteLiveriesScanned)->Unit(benchmark::kMillisecond);

void BM_ReadLiveriesScanned(benchmark::State& state) {
    fixture();
    lf_fillLiveries();
    if (!mrw::gf_writeLiveriesScanned()) state.SkipWithError("writing failed");
    for (auto _ : state)
        mrw::gf_readLiveriesScanned();
    state.counters["liveries/s"] = benchmark::Counter(
        static_cast<double>(mrw::g_scannedLiveries().size()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ReadLiveriesScanned)->Unit(benchmark::kMillisecond);

}  // namespace

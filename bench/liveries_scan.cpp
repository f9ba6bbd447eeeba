// The liveries scan on generated packages folders shaped like a large AI package (aircraft.cfg
// files with comments, CRLF line ends, a base container and several [FLTSIM.N] sections): 4,000 and
// 20,000 files searched with 1, 2 and 8 workers, in files per second and per CPU-second of the whole
// process; and writing and reading LiveriesScanned.xml with 10,000 liveries.

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "aircraft/liveries_scan_state.h"
#include "aircraft/liveries_scanned_xml.h"
#include "aircraft/livery_data.h"
#include "aircraft/livery_folder_search.h"
#include "aircraft/livery_folder_search_internal.h"
#include "aircraft/livery_folder_walk.h"
#include "aircraft/livery_scan_pool.h"

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int kSectionsPerFile = 6;
constexpr int kListedLiveries = 10000;  // the LiveriesScanned.xml benchmarks
constexpr std::array<const char*, 6> kModels{"A320", "A321", "B738", "B739", "E190", "CRJ9"};
constexpr std::array<const char*, 8> kAirlines{"KLM", "DLH", "EZY", "RYR", "AFR", "BAW", "UAE", "SAS"};

// A program folder in the temporary folder, made the working folder; a packages folder of AI
// liveries per file count, written at first use. Built once for the whole benchmark program.
class ScanFixture {
  public:
    ScanFixture() {
        std::random_device device;
        m_root = fs::temp_directory_path() / fmt::format("mrw-bench-liveries-{}", device());
        fs::create_directories(m_root / "output");
        fs::current_path(m_root);
        seedDatabase();
    }
    ~ScanFixture() {
        std::error_code error;
        fs::current_path(fs::temp_directory_path(), error);
        fs::remove_all(m_root, error);
    }

    const fs::path& packages(int files) {
        auto [it, added] =
            m_packages.try_emplace(files, m_root / "Community" / fmt::format("aig-aitraffic-{}", files));
        if (added) writePackage(it->second, files);
        return it->second;
    }

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

    static void writePackage(const fs::path& package, int files) {
        for (int file = 0; file < files; ++file) {
            const fs::path folder = package / "SimObjects" / "Airplanes" /
                                    fmt::format("AIG_{}_{:05}", kModels[file % kModels.size()], file);
            fs::create_directories(folder);
            std::ofstream out(folder / "aircraft.cfg", std::ios::binary);
            out << "; AI traffic model, generated\r\n; do not edit by hand\r\n\r\n"
                << "[VERSION]\r\nmajor = 1\r\nminor = 0\r\n\r\n"
                << "[VARIATION]\r\nbase_container = \"..\\Asobo_A320_NEO\"\r\n\r\n"
                << "[GENERAL]\r\natc_type = \"TT:ATCCOM.ATC_NAME AIRBUS.0.text\"\r\n"
                << "icao_type_designator = \"" << kModels[file % kModels.size()] << "\"\r\n"
                << "Category = \"airplane\"\r\n\r\n";
            for (int section = 0; section < kSectionsPerFile; ++section) {
                const char* airline = kAirlines[(file + section) % kAirlines.size()];
                out << "; " << airline << " livery " << section << "\r\n"
                    << "[FLTSIM." << section << "]\r\n"
                    << "title = \"AIG " << kModels[file % kModels.size()] << " " << airline << " " << file
                    << "-" << section << "\" ; shown in the simulator\r\n"
                    << "model = \"\"\r\ntexture = \"" << airline << "\"\r\n"
                    << "atc_id = \"PH-" << static_cast<char>('A' + section)
                    << fmt::format("{:03}", file % 1000) << "\"\r\n"
                    << "icao_airline = \"" << airline << "\"\r\n"
                    << "atc_parking_types = \"GATE,RAMP\"\r\n"
                    << "atc_parking_codes = \"" << airline << "\"\r\n"
                    << "ui_manufacturer = \"AIG\"\r\nui_type = \"" << kModels[file % kModels.size()]
                    << "\"\r\n"
                    << "ui_variation = \"" << airline << " livery\"\r\n"
                    << "ui_createdby = \"AI Group\"\r\n\r\n";
            }
        }
    }

    fs::path m_root;
    std::map<int, fs::path> m_packages;
};

ScanFixture& fixture() {
    static ScanFixture instance;  // every search has drained its workers before the program ends
    return instance;
}

// Arguments: file count, workers.
void BM_SearchLiveries(benchmark::State& state) {
    const auto files = static_cast<int>(state.range(0));
    const fs::path& package = fixture().packages(files);
    mrw::g_scanThreadLimit = static_cast<std::int32_t>(state.range(1));
    std::size_t found = 0;
    double cpuSeconds = 0;
    for (auto _ : state) {
        mrw::g_scannedLiveries().clear();
        mrw::g_scanThreadsRunning = 0;
        const std::clock_t cpuStart = std::clock();  // the whole process: every worker counts
        mrw::gf_searchLiveriesinFolder(std::make_shared<mrw::LiveriesScanState>(), 1, package);
        cpuSeconds += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        found = mrw::g_scannedLiveries().size();
        benchmark::DoNotOptimize(found);
    }
    if (found != static_cast<std::size_t>(files * kSectionsPerFile))
        state.SkipWithError("not every livery was found");
    const double searched = static_cast<double>(files) * static_cast<double>(state.iterations());
    state.counters["files/s"] = benchmark::Counter(searched, benchmark::Counter::kIsRate);
    state.counters["files/CPU-s"] = cpuSeconds > 0 ? searched / cpuSeconds : 0.0;
}

BENCHMARK(BM_SearchLiveries)
    ->ArgNames({"files", "workers"})
    ->ArgsProduct({{4000, 20000}, {1, 2, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same searches with a processor that reads nothing: the walk, the queueing and the workers'
// hand-over alone, the part of the scan that more workers do not share.
void BM_WalkAndHandOver(benchmark::State& state) {
    const auto files = static_cast<int>(state.range(0));
    const fs::path& package = fixture().packages(files);
    mrw::g_scanThreadLimit = static_cast<std::int32_t>(state.range(1));
    const mrw::FolderSearchSetup setup{[](const fs::path&) {
        return [](mrw::LiveriesScanState&, int, const fs::path&) { return std::list<mrw::LiveryData>{}; };
    }};
    for (auto _ : state) {
        std::list<mrw::LiveryData> out;
        mrw::g_scanThreadsRunning = 0;
        mrw::gf_searchFolder(std::make_shared<mrw::LiveriesScanState>(), 1, package, out, setup);
        benchmark::DoNotOptimize(out);
    }
    state.counters["files/s"] = benchmark::Counter(
        static_cast<double>(files) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_WalkAndHandOver)
    ->ArgNames({"files", "workers"})
    ->ArgsProduct({{20000}, {1, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The folder walk alone, judging as the search does, with 1 and 4 listers: the ceiling of the
// search's rate whatever the workers do.
void BM_FolderWalk(benchmark::State& state) {
    const auto files = static_cast<int>(state.range(0));
    const fs::path& package = fixture().packages(files);
    const mrw::FolderWalk::Judge judge = [](const fs::directory_entry& entry, mrw::WalkEntry& judged) {
        std::error_code error;
        judged.descend = entry.is_directory(error);
        judged.aircraftCfg = mrw::gf_isAircraftCfg(entry);
    };
    int found = 0;
    for (auto _ : state) {
        found = 0;
        mrw::FolderWalk walk(judge, static_cast<int>(state.range(1)));
        walk.run(package, [&](const mrw::WalkEntry& entry) {
            found += entry.aircraftCfg ? 1 : 0;
            return true;
        });
    }
    if (found != files) state.SkipWithError("not every file was found");
    state.counters["files/s"] = benchmark::Counter(
        static_cast<double>(files) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FolderWalk)
    ->ArgNames({"files", "listers"})
    ->ArgsProduct({{20000}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// 10,000 liveries as the scan leaves them, sorted.
void lf_fillLiveries() {
    auto& list = mrw::g_scannedLiveries();
    list.clear();
    for (int i = 0; i < kListedLiveries; ++i) {
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

// Static parking at a large airport: the calculation and the adjustment with 300 stands (half of
// them without uses), 5,000 uses, two overlapping stands each, 250 active static aircraft, the
// widest fit window and all four search modes. Wanted (180) stays above what the uses can fill, so
// every mode runs through every fit offset.

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "config/parameter_catalogue.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/parking/parking_adjustments.h"
#include "traffic/parking/parking_calculation.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_parking.h"

namespace {

constexpr int kStands = 300;
constexpr int kUses = 5000;
constexpr int kStatics = 250;

mrw::StandOption makeUse(std::mt19937& random, int i) {
    mrw::StandOption use;
    use.designation.airline = static_cast<mrw::CodeIndex>(1 + random() % 40);
    use.designation.model = static_cast<mrw::CodeIndex>(1 + random() % 30);
    use.registration = fmt::format("R{:05}", i % 4000);  // some aircraft use two stands
    use.callsign = fmt::format("CS{:05}", i);
    if (i % 5 == 0) use.secondCallsign = fmt::format("CT{:05}", i);
    const int first = static_cast<int>(random() % 48);
    const int length = 1 + static_cast<int>(random() % 3);
    for (int h = first; h < first + length && h < 48; ++h)
        use.halfHours.set(static_cast<std::size_t>(h));
    use.day = 1 + static_cast<int>(random() % 7);
    use.real = random() % 2 == 0 ? 1 : 0;
    use.origin = 1;
    return use;
}

// The airport, its uses and its static aircraft, built once.
struct Airport {
    std::vector<mrw::Stand> stands;
    std::vector<mrw::StaticAc> statics;

    Airport() {
        std::mt19937 random(4711);
        for (int i = 0; i < kStands; ++i) {
            mrw::Stand stand({}, fmt::format("S{}", i + 1), 52.0 + i * 0.0004, 4.0, 0.0, 30.0, 12, false,
                             false, false);
            stand.number = i + 1;
            if (i > 0) stand.overlaps.push_back(i);
            if (i + 1 < kStands) stand.overlaps.push_back(i + 2);
            stands.push_back(std::move(stand));
        }
        for (int i = 0; i < kUses; ++i) {
            mrw::Stand& stand = stands[static_cast<std::size_t>(2 * (i % (kStands / 2)))];
            stand.options.push_back(makeUse(random, i));
            stand.options.back().sequence = static_cast<std::int32_t>(stand.options.size());
        }
        for (int i = 0; i < kStatics; ++i) {
            const mrw::Stand& stand = stands[static_cast<std::size_t>(i)];
            mrw::StaticAc ac;
            ac.callsign = fmt::format("CS{:05}*", i * 7);
            ac.optionCallsign = fmt::format("CS{:05}", i * 7);
            ac.registration = fmt::format("R{:05}", i * 7 % 4000);
            ac.designation.model = static_cast<mrw::CodeIndex>(1 + i % 30);
            ac.standNumber = stand.number;
            ac.standPosition = {stand.latitude, stand.longitude};
            ac.simState = mrw::SimState::Active;
            ac.objectId = static_cast<std::uint32_t>(1000 + i);
            ac.hexid = static_cast<std::uint32_t>(i + 1);
            ac.parkedSince = {3, 20};
            statics.push_back(std::move(ac));
        }
    }

    void install() const {
        mrw::g_parkStands = stands;
        mrw::g_staticAcs = statics;
        mrw::g_skippedUses.clear();
        mrw::g_removeQueue.clear();
    }
};

void lf_settings() {
    auto& settings = mrw::g_parameters();
    settings.MAX_FIT.current = 47;
    settings.WEEK.current = true;
    settings.PARK_SOFT.current = true;
    settings.parking_percentage.current = 60;
    settings.MAX_PARK_SEL.current = 500;
    mrw::g_weekSlotNow = 3 | (std::int64_t{22} << 32);  // Wednesday 11:00
}

// One pass of the parking step over the freshly installed airport, per iteration.
template <void (*kStep)()>
void BM_ParkingStep(benchmark::State& state) {
    const Airport airport;
    lf_settings();
    for (auto _ : state) {
        state.PauseTiming();
        airport.install();
        state.ResumeTiming();
        kStep();
        benchmark::DoNotOptimize(mrw::g_parkingPlan.data());
    }
    state.counters["planned"] = static_cast<double>(mrw::g_parkingPlan.size());
}
BENCHMARK(BM_ParkingStep<mrw::lf_calculateStaticParking>)
    ->Name("BM_CalculateStaticParking")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParkingStep<mrw::lf_adjustParking>)->Name("BM_AdjustParking")->Unit(benchmark::kMillisecond);

}  // namespace

// One engine tick (lf_handleAddingStack) with n live aircraft (a third flying, a third taxiing on
// curves, a third parked) and 500 static aircraft, all "active"; two traffic reports a tick and, on
// every 20th tick, the InRange events of all aircraft on the ground. After a warm-up that lets the
// first reports' samples fall due, 6,000 ticks per run: the mean wall time is the benchmark's time,
// its p99 and max are counters. So is the tick's thread CPU time, apart for the plain ticks and the
// every-20th ticks: on a shared machine the wall time's tail measures the scheduler, the CPU time
// the tick. The allocations are counted by the replaced operator new. The
// simulator stand-in allocates for its journal on each call it gets (the range request of every
// 20th tick, the user data of every 100th): plain_tick_allocs counts those of the other ticks.

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <new>
#include <numbers>
#include <vector>

#include "aircraft/code_tables.h"
#include "platform/simconnect/sim_world.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_client.h"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<std::int64_t> g_allocations{0};

}  // namespace

// Kept out of line: inlined into a caller, g++ pairs the free() with the caller's new and warns.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

constexpr int kTicks = 6000;
// Until the first reports' samples fall due the streams only grow, and until each stream has
// walked once through its deque's map a push can still grow that map: 20 reports per aircraft.
constexpr int kWarmUpTicks = 12000;
constexpr int kStatics = 500;
constexpr int kReportSpacingTicks = 500;  // of the first samples; the track swings at this pace
constexpr double kCentreLat = 50.0;
constexpr double kCentreLon = 8.5;

enum class Kind { Flying, Taxiing, Parked };

Kind lf_kindOf(int i) {
    return static_cast<Kind>(i % 3);
}

double lf_speedKt(Kind kind) {
    return kind == Kind::Flying ? 250.0 : (kind == Kind::Taxiing ? 15.0 : 0.0);
}

// Where aircraft i is at engine tick `due`: the moving ones go north-east at their speed, their
// track swinging 5 degrees either side with each report, so that no report is thinned out and the
// taxiing ones drive curves.
mrw::PositionSample lf_sample(Kind kind, int i, std::int32_t due, bool first) {
    constexpr double kDegreesPerNmTick = 1.0 / 60.0 / 360000.0;  // 1 kt for one 10 ms tick, in degrees
    const double travelled = lf_speedKt(kind) * kDegreesPerNmTick * static_cast<double>(due);
    mrw::PositionSample s;
    s.lat = kCentreLat + static_cast<double>(i % 50) * 0.01 + travelled * std::numbers::sqrt2 / 2.0;
    s.lon = kCentreLon + static_cast<double>(i / 50) * 0.01 +
            travelled * std::numbers::sqrt2 / 2.0 / std::cos(kCentreLat * std::numbers::pi / 180.0);
    s.altitudeFt = kind == Kind::Flying ? 8000.0 : 0.0;
    s.airborne = kind == Kind::Flying;
    s.groundSpeedKt = lf_speedKt(kind);
    s.trueAirspeedKt = s.groundSpeedKt;
    s.trackDeg = (due / kReportSpacingTicks) % 2 == 0 ? 40.0 : 50.0;
    s.stationary = kind == Kind::Parked && !first;
    s.dueTick = due;
    return s;
}

void lf_addLive(int i) {
    const Kind kind = lf_kindOf(i);
    mrw::AircraftIdentity identity;
    identity.callsign = fmt::format("BEN{}", i);
    identity.designation.model = mrw::gf_modelIndex("A320");
    mrw::AcProfile profile = mrw::gf_makeAcProfile(identity);
    profile.hexid = 0x100000 + static_cast<std::uint32_t>(i);
    const std::int32_t now = mrw::g_engineTick.load();
    mrw::LiveAc& a = mrw::g_liveAcs.emplace_back(lf_sample(kind, i, now, true), std::move(profile), 0.0);
    for (int step = 1; step < 7; ++step)
        a.samples.push_back(lf_sample(kind, i, now + step * kReportSpacingTicks, false));
    a.phase = kind == Kind::Flying
                  ? mrw::FlightPhase::Flying
                  : (kind == Kind::Taxiing ? mrw::FlightPhase::Taxi : mrw::FlightPhase::Parked);
    a.prepareCreatePosition();  // where the creation puts it
    a.simState = mrw::SimState::Active;
    mrw::gf_setLiveObjectId(a, 1000 + static_cast<std::uint32_t>(i));
    a.onGroundInSim = kind != Kind::Flying;
    a.lastReportTime = 0.0;
}

void lf_addStatics() {
    for (int i = 0; i < kStatics; ++i) {
        mrw::StaticAc s;
        s.hexid = static_cast<std::uint32_t>(i + 1);
        s.callsign = fmt::format("STA{}*", i);
        s.simState = mrw::SimState::Active;
        s.objectId = 5000 + static_cast<std::uint32_t>(i);
        mrw::g_staticAcs.push_back(std::move(s));
    }
}

// A report of aircraft i received now: its sample falls due 30 s later.
mrw::TrafficReport lf_report(int i) {
    const std::int32_t now = mrw::g_engineTick.load();
    mrw::TrafficReport r;
    r.identity.callsign = fmt::format("BEN{}", i);
    r.identity.designation.model = mrw::gf_modelIndex("A320");
    r.hexid = 0x100000 + static_cast<std::uint32_t>(i);
    r.reportTime = static_cast<double>(now) / 100.0;
    r.sample = lf_sample(lf_kindOf(i), i, now + 3000, false);
    return r;
}

struct World {
    World() {
        standin::resetWorld();
        standin::startSimulator();
        HANDLE h = nullptr;
        if (SimConnect_Open(&h, "Merrowvale", nullptr, 0, nullptr, 0) != S_OK) std::abort();
        mrw::g_simConnect.store(h);
        mrw::lf_reserveEngine();
    }
};

double lf_threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The duration of one tick, wall and thread CPU, in seconds.
struct TickTime {
    double wall = 0.0;
    double cpu = 0.0;
};

// What the feed and the client thread do around each tick, outside the measured time.
class TickDriver {
  public:
    explicit TickDriver(int liveCount) : m_liveCount(liveCount) {}

    void prepare() {
        const std::int32_t t = mrw::g_engineTick.load();
        {
            std::lock_guard lock(mrw::g_trafficMutex);
            for (int k = 0; k < 2; ++k, ++m_reportIndex) {
                const int i = m_reportIndex % m_liveCount;
                mrw::g_trafficReports.push_back(lf_report(i));
            }
        }
        if (t % 20 == 0)
            for (const mrw::LiveAc& a : mrw::g_liveAcs)
                if (a.onGroundInSim)
                    mrw::gf_postSimEvent({a.objectId, 1, 0, mrw::SimEventType::InRange, 300.0, 0.0});
        std::lock_guard lock(mrw::g_simConnectMutex);
        mrw::g_removeRequests.clear();
        mrw::g_createRequests.clear();
        mrw::g_clientEvents.clear();
        updates += static_cast<std::int64_t>(mrw::g_positionUpdatesOut->size());
        mrw::g_positionUpdatesOut->clear();
    }

    // One tick; whether it is a plain one (no range answers) is isPlainTick() before the call.
    TickTime tick() {
        const bool plain = isPlainTick();
        prepare();
        g_allocations.store(0);
        g_counting.store(true);
        const double cpuStart = lf_threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        mrw::lf_handleAddingStack();
        const auto end = std::chrono::steady_clock::now();
        const double cpuEnd = lf_threadCpuSeconds();
        g_counting.store(false);
        allocations += g_allocations.load();
        if (plain) plainTickAllocations += g_allocations.load();
        return {std::chrono::duration<double>(end - start).count(), cpuEnd - cpuStart};
    }

    static bool isPlainTick() { return mrw::g_engineTick.load() % 20 != 0; }

    std::int64_t allocations = 0;
    std::int64_t plainTickAllocations = 0;  // ticks without a range request
    std::int64_t updates = 0;

  private:
    int m_liveCount;
    int m_reportIndex = 0;
};

// The value below which the given share of the sorted values lies.
double lf_quantile(const std::vector<double>& sorted, int percent) {
    return sorted[sorted.size() * static_cast<std::size_t>(percent) / 100];
}

void BM_EngineTick(benchmark::State& state) {
    static World world;
    const int liveCount = static_cast<int>(state.range(0));
    mrw::lf_resetEngine();
    mrw::g_simConnectError.store(false);
    for (int i = 0; i < liveCount; ++i)
        lf_addLive(i);
    lf_addStatics();
    TickDriver driver(liveCount);
    for (int i = 0; i < kWarmUpTicks; ++i)
        driver.tick();
    driver = TickDriver(liveCount);
    std::vector<double> ticks;  // wall
    std::vector<double> cpu;
    std::vector<double> plainCpu;
    std::vector<double> rangeCpu;  // the every-20th ticks
    ticks.reserve(kTicks);
    cpu.reserve(kTicks);
    plainCpu.reserve(kTicks);
    rangeCpu.reserve(kTicks / 20 + 1);
    for (auto _ : state) {
        const bool plain = TickDriver::isPlainTick();
        const TickTime time = driver.tick();
        ticks.push_back(time.wall);
        cpu.push_back(time.cpu);
        (plain ? plainCpu : rangeCpu).push_back(time.cpu);
        state.SetIterationTime(time.wall);
    }
    for (std::vector<double>* v : {&ticks, &cpu, &plainCpu, &rangeCpu})
        std::sort(v->begin(), v->end());
    const auto perTick = [&ticks](std::int64_t n) {
        return static_cast<double>(n) / static_cast<double>(ticks.size());
    };
    state.counters["p99_us"] = lf_quantile(ticks, 99) * 1e6;
    state.counters["max_us"] = ticks.back() * 1e6;
    double cpuSum = 0.0;
    for (double t : cpu)
        cpuSum += t;
    state.counters["cpu_mean_us"] = cpuSum / static_cast<double>(cpu.size()) * 1e6;
    state.counters["cpu_p99_us"] = lf_quantile(cpu, 99) * 1e6;
    state.counters["cpu_plain_p50_us"] = lf_quantile(plainCpu, 50) * 1e6;
    state.counters["cpu_plain_p99_us"] = lf_quantile(plainCpu, 99) * 1e6;
    state.counters["cpu_20th_p50_us"] = lf_quantile(rangeCpu, 50) * 1e6;
    state.counters["cpu_20th_p99_us"] = lf_quantile(rangeCpu, 99) * 1e6;
    state.counters["allocs_per_tick"] = perTick(driver.allocations);
    state.counters["plain_tick_allocs"] = static_cast<double>(driver.plainTickAllocations);
    state.counters["updates_per_tick"] = perTick(driver.updates);
    state.counters["live"] = static_cast<double>(mrw::g_liveAcs.size());
    mrw::lf_resetEngine();
}

BENCHMARK(BM_EngineTick)
    ->Arg(50)
    ->Arg(500)
    ->Arg(1000)
    ->Iterations(kTicks)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

#pragma once
// The traffic engine on one thread for tests: SimWorld stepped by hand on flat ground with the user
// aircraft parked, the engine's tick, the wall clock behind its seam, the livery catalogue and
// aircraft database fixture, and a program folder with Log.txt. Nothing sleeps: a tick runs the
// engine once and advances the world by 10 ms.

#include <cstdint>
#include <functional>
#include <string>

#include "aircraft/catalogue_test_fixture.h"
#include "platform/simconnect/sim_world.h"
#include "traffic/model/aircraft_records.h"
#include "traffic/model/traffic_report.h"

namespace mrwtest {

// One RealTraffic report as the Traffic Reader would queue it.
struct ReportSpec {
    std::uint32_t hexid = 0x3C6444;
    std::string callsign = "DLH4AB";
    std::string registration{};
    std::string airline = "DLH";
    std::string model = "A320";
    std::string origin{};
    std::string destination{};
    double lat = 50.05;
    double lon = 8.60;
    double altitudeFt = 0.0;  // 0 = on the ground
    double groundSpeedKt = 0.0;
    double trackDeg = 90.0;
    double verticalRateFpm = 0.0;
    double reportTime = 1'000'000.0;  // RealTraffic's time stamp, seconds
};

// The report; its sample falls due 3000 ticks after the current engine tick.
mrw::TrafficReport makeReport(const ReportSpec& spec);

// The engine, the report intake, the simulator events and the SimConnect queues as a fresh run has
// them, each through its owner's reset; the user aircraft data and the simulator choice too.
void resetEngineThroughOwners();

class EngineHarness : public CatalogueTest {
  protected:
    // The user aircraft stands here, on the ground at elevation 0.
    static constexpr double kUserLat = 50.0;
    static constexpr double kUserLon = 8.5;

    // A fresh world and engine; RANDOM off, the catalogue built, the wall clock at kStartSeconds.
    void SetUp() override;
    void TearDown() override;
    // A fresh world with the simulator running, connected, the user aircraft parked at kUserLat,
    // kUserLon on Monday 10:00.
    void startWorld();

    // Queues the report under g_trafficMutex.
    void feed(const ReportSpec& spec);
    // Runs n engine ticks, each followed by 10 ms of the world.
    void runTicks(int n);
    // Runs ticks until the predicate holds (true) or maxTicks have run (false).
    bool runTicksUntil(const std::function<bool()>& predicate, int maxTicks);
    // The live aircraft with the hexid, or null.
    static mrw::LiveAc* live(std::uint32_t hexid);
    // Appends a live aircraft that the simulator already holds: "active" with the object id, at the
    // report's position (its only sample, due now).
    mrw::LiveAc& addActive(const ReportSpec& spec, std::uint32_t objectId);
    // The user aircraft's position and on-ground state, in the world and in the engine's copy.
    static void placeUser(double lat, double lon, bool onGround);
    // The wall clock seam, in whole seconds since 1970.
    void setWallClock(std::int64_t seconds);

    static constexpr std::int64_t kStartSeconds = 1'735'689'600;  // 2025-01-01 00:00:00 UTC
    std::int64_t wallClockSeconds = kStartSeconds;
    // The world SetUp makes; a test fixture may change it in its constructor.
    standin::SimWorldConfig worldConfig;
    HANDLE connection = nullptr;
};

}  // namespace mrwtest

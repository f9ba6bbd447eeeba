#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "engine_harness.h"
#include "traffic/engine/engine_tick.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airport_pass.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

class EngineTickTest : public EngineHarness {
  protected:
    // Runs ticks until the next one is a multiple of 100: the tests count ticks from there.
    void alignToHundred() {
        while (mrw::g_engineTick.load() % 100 != 0)
            runTicks(1);
    }

    static mrw::CreateRequest request(const std::string& callsign, int hexid) {
        mrw::CreateRequest r;
        r.callsign = callsign;
        r.hexid = hexid;
        return r;
    }

    static std::size_t rangeRequests() {
        std::size_t n = 0;
        for (const auto& entry : standin::journal("Merrowvale"))
            if (entry.function == "SimConnect_RequestDataOnSimObjectType" && entry.arguments.at(0) == "101")
                ++n;
        return n;
    }
};

TEST_F(EngineTickTest, RemovalsEveryTenthTickCreationsEveryFiftiethLiveFirstRangeRequestEveryTwentieth) {
    alignToHundred();
    for (std::uint32_t id = 200; id < 215; ++id)
        mrw::g_removeQueue.push_back(id);
    mrw::g_liveCreateQueue = {request("LIVE1", 20001), request("LIVE2", 20002)};
    mrw::g_staticCreateQueue = {request("STAT1*", 1), request("STAT2*", 2)};
    mrw::g_parkingPlan.assign(3, mrw::ParkingPlanEntry{});
    // Static aircraft are made only while the park airport has stands.
    mrw::g_parkStands.emplace_back(std::vector<mrw::StandOption>{}, "A1", 52.0, 4.0, 0.0, 20.0, 12, false,
                                   false, false);

    std::vector<int> removalTicks;
    std::vector<std::pair<int, std::string>> creations;
    std::vector<int> rangeRequestTicks;
    std::vector<std::size_t> planSizes;
    for (int t = 0; t <= 100; ++t) {
        const std::size_t requestsBefore = rangeRequests();
        runTicks(1);
        std::lock_guard lock(mrw::g_simConnectMutex);
        for (std::uint32_t id : mrw::g_removeRequests)
            removalTicks.push_back(t), static_cast<void>(id);
        for (const auto& c : mrw::g_createRequests)
            creations.emplace_back(t, c.callsign);
        mrw::g_removeRequests.clear();
        mrw::g_createRequests.clear();
        if (rangeRequests() > requestsBefore) rangeRequestTicks.push_back(t);
        planSizes.push_back(mrw::g_parkingPlan.size());
    }
    EXPECT_EQ(removalTicks, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(creations,
              (std::vector<std::pair<int, std::string>>{{0, "LIVE1"}, {50, "LIVE2"}, {100, "STAT1*"}}));
    EXPECT_EQ(rangeRequestTicks, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    // A static aircraft is prepared only on a 50th tick without a live creation waiting.
    EXPECT_EQ(planSizes.at(99), 3u);
    EXPECT_EQ(planSizes.at(100), 2u);
}

TEST_F(EngineTickTest, TwoReportsATickTheThirdNext) {
    for (std::uint32_t hexid : {0x400001u, 0x400002u, 0x400003u}) {
        ReportSpec spec;
        spec.hexid = hexid;
        spec.callsign = "DLH" + std::to_string(hexid % 16);
        feed(spec);
    }
    runTicks(1);
    EXPECT_EQ(mrw::g_liveAcs.size(), 2u);
    EXPECT_EQ(mrw::g_trafficReports.size(), 1u);
    runTicks(1);
    EXPECT_EQ(mrw::g_liveAcs.size(), 3u);
    EXPECT_TRUE(mrw::g_trafficReports.empty());
}

TEST_F(EngineTickTest, AddingStackBuildsOneRequestATickAndSkipsWhatItCannotBuild) {
    mrw::LiveAc& withCallsign = addActive({.hexid = 0x500001, .callsign = "AAL100"}, 0);
    withCallsign.simState = mrw::SimState::Adding2Sim;
    withCallsign.liveryTitle = "American Airlines A321 N101AA";
    withCallsign.simPosition = {50.1, 8.6, -0.05, 0.1, 1.0, 3000.0, 5.0, 250.0};
    mrw::LiveAc& noCallsign = addActive({.hexid = 0x500002, .callsign = ""}, 0);
    noCallsign.simState = mrw::SimState::Adding2Sim;
    mrw::g_addingStack = {0x500001, 0x500002, 0x7FFFFF};

    runTicks(1);  // a hexid without an aircraft: nothing
    EXPECT_TRUE(mrw::g_liveCreateQueue.empty());
    EXPECT_EQ(mrw::g_addingStack.size(), 2u);
    runTicks(1);  // no callsign: no request, and the record goes instead of waiting for ever
    EXPECT_TRUE(mrw::g_liveCreateQueue.empty());
    EXPECT_TRUE(live(0x500002)->eraseNeverCreated);
    runTicks(1);
    EXPECT_EQ(live(0x500002), nullptr);
    ASSERT_EQ(mrw::g_liveCreateQueue.size() + mrw::g_createRequests.size(), 1u);
    const mrw::CreateRequest& r =
        mrw::g_liveCreateQueue.empty() ? mrw::g_createRequests.front() : mrw::g_liveCreateQueue.front();
    EXPECT_EQ(r.callsign, "AAL100");
    EXPECT_EQ(r.title, "American Airlines A321 N101AA");
    EXPECT_EQ(r.hexid, 0x500001);
    EXPECT_DOUBLE_EQ(r.initPosition.Latitude, 50.1);
    EXPECT_DOUBLE_EQ(r.initPosition.Altitude, 3000.0);
    EXPECT_DOUBLE_EQ(r.initPosition.Pitch, -0.05 * 57.29577951308232);
    EXPECT_DOUBLE_EQ(r.initPosition.Heading, 57.29577951308232);
    EXPECT_EQ(r.initPosition.OnGround, 0u);
    EXPECT_EQ(r.initPosition.Airspeed, 0u);
}

TEST_F(EngineTickTest, ResetEmptiesEverythingButTheTickAndReserveWorksOnce) {
    mrw::lf_reserveEngine();
    const std::size_t capacity = mrw::g_liveAcs.capacity();
    EXPECT_GE(capacity, 512u);
    addActive({}, 300);
    feed({.hexid = 0x600001});
    mrw::gf_postSimEvent({300, 0, 0, mrw::SimEventType::Removed, 0, 0});
    mrw::g_inSimHexids.insert(5);
    mrw::g_liveCallsigns.insert("ABC");
    mrw::g_removeQueue.push_back(300);
    mrw::Airport park;
    park.code = mrw::FixedCode<4>("EHAM");
    mrw::gf_setParkAirport(park);
    ASSERT_TRUE(mrw::TrafficReader::parkAirport.load().has_value());
    const std::int32_t tick = mrw::g_engineTick.load();
    mrw::lf_resetEngine();
    EXPECT_TRUE(mrw::g_parkAirport.code.empty());
    EXPECT_FALSE(mrw::TrafficReader::parkAirport.load().has_value());  // the reader forgets it too
    EXPECT_TRUE(mrw::g_liveAcs.empty());
    EXPECT_TRUE(mrw::g_trafficReports.empty());
    EXPECT_TRUE(mrw::g_simEvents.empty());
    EXPECT_TRUE(mrw::g_inSimHexids.empty());
    EXPECT_TRUE(mrw::g_liveCallsigns.empty());
    EXPECT_TRUE(mrw::g_removeQueue.empty());
    EXPECT_EQ(mrw::g_engineTick.load(), tick);
    mrw::g_liveAcs.shrink_to_fit();
    mrw::lf_reserveEngine();
    EXPECT_EQ(mrw::g_liveAcs.capacity(), 0u);
    mrw::g_liveAcs.reserve(capacity);
}

// A run ended between a park-airport read being asked for and the next second must not carry the
// request, or a parking update's removals, into the next run; the parking work lists get their room
// with the others.
TEST_F(EngineTickTest, ResetDropsPendingParkReadAndStaticRemovalsReserveCoversParkingLists) {
    mrw::lf_reserveEngine();
    EXPECT_GE(mrw::g_liveParked.capacity(), 64u);
    EXPECT_GE(mrw::g_staticReview.capacity(), 256u);
    EXPECT_GE(mrw::g_staticRemovals.capacity(), 256u);
    mrw::g_readParkFilePending = true;
    mrw::g_staticRemovals.push_back({"KLM1*", 3});
    mrw::lf_resetEngine();
    EXPECT_FALSE(mrw::g_readParkFilePending);
    EXPECT_TRUE(mrw::g_staticRemovals.empty());
}

// Every 100th tick the engine refreshes its copy of the user aircraft data and hands the two
// altitudes to the Traffic Reader, which corrects high traffic to the user's altimeter with them.
TEST_F(EngineTickTest, UserAltitudesReachTheTrafficReaderWithEachRefresh) {
    alignToHundred();
    mrw::TrafficReader::userAltitudes.store({});
    mrw::UserAcData received{};
    received.altitudeFt = 12000.0;
    received.indicatedAltitudeFt = 11850.0;
    mrw::gf_setUserAcDataRecv(received);
    runTicks(1);
    const mrw::UserAltitudes published = mrw::TrafficReader::userAltitudes.load();
    EXPECT_DOUBLE_EQ(published.altitudeFt, 12000.0);
    EXPECT_DOUBLE_EQ(published.indicatedAltitudeFt, 11850.0);
    received.altitudeFt = 500.0;
    mrw::gf_setUserAcDataRecv(received);
    runTicks(99);  // not yet the next refresh
    EXPECT_DOUBLE_EQ(mrw::TrafficReader::userAltitudes.load().altitudeFt, 12000.0);
    runTicks(1);
    EXPECT_DOUBLE_EQ(mrw::TrafficReader::userAltitudes.load().altitudeFt, 500.0);
}

// Only the engine writes the input buffer; the swap needs the lock, which the client thread may hold.
TEST_F(EngineTickTest, BusySimConnectLockDropsExactlyThatTicksUpdates) {
    // A tick between two samples: a sample falling due may send commands, which need the lock too.
    mrw::LiveAc& aircraft = addActive({.hexid = 0x700001, .callsign = "BAW1", .altitudeFt = 5000.0}, 301);
    aircraft.samples.front().dueTick = mrw::g_engineTick.load() + 1000;
    std::mutex gate;
    std::condition_variable changed;
    bool held = false;
    bool release = false;
    std::thread client([&] {
        std::lock_guard simLock(mrw::g_simConnectMutex);
        std::unique_lock lock(gate);
        held = true;
        changed.notify_all();
        changed.wait(lock, [&] { return release; });
    });
    {
        std::unique_lock lock(gate);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(30), [&] { return held; }));
    }
    mrw::g_positionUpdatesOut->clear();
    const auto tick = mrw::g_engineTick.load();
    // A removal or creation tick would wait for the lock: run the engine on a tick without them.
    if (tick % 10 == 0 || tick % 20 == 0) mrw::g_engineTick += 1;
    mrw::lf_handleAddingStack();
    EXPECT_TRUE(mrw::g_positionUpdatesOut->empty());
    EXPECT_TRUE(mrw::g_positionUpdatesIn->empty());
    {
        std::lock_guard lock(gate);
        release = true;
    }
    changed.notify_all();
    client.join();
    if (mrw::g_engineTick.load() % 10 == 0) mrw::g_engineTick += 1;
    mrw::lf_handleAddingStack();
    std::lock_guard lock(mrw::g_simConnectMutex);
    ASSERT_EQ(mrw::g_positionUpdatesOut->size(), 1u);
    EXPECT_EQ(mrw::g_positionUpdatesOut->front().objectId, 301u);
    EXPECT_DOUBLE_EQ(mrw::g_positionUpdatesOut->front().position.altitudeFt, 5000.0);
}

// A removal that flags a static record for erasure (never created, a creation withdrawn, an object
// without an id) has it erased at the next tick, whichever place it holds in the list; a static
// whose object is queued for removal stays until the removal is reported.
TEST_F(EngineTickTest, StaticsFlaggedByTheirRemovalAreErasedAtTheNextTick) {
    runTicks(1);
    const struct {
        const char* name;
        mrw::SimState state;
        std::uint32_t objectId;
        bool erased;
    } cases[] = {
        {"in the buffer", mrw::SimState::Buffer, 0, true},
        {"creation withdrawn", mrw::SimState::Adding2Sim, 0, true},
        {"active without an object id", mrw::SimState::Active, 0, true},
        {"active with an object", mrw::SimState::Active, 77, false},
    };
    for (const auto& c : cases) {
        mrw::StaticAc s;
        s.callsign = c.name;
        s.simState = c.state;
        s.objectId = c.objectId;
        mrw::g_staticAcs.push_back(std::move(s));
    }
    runTicks(3);
    ASSERT_EQ(mrw::g_staticAcs.size(), 4u) << "nothing was flagged yet";
    for (const auto& c : cases) {
        // Each case alone, the others left in the list.
        auto found = std::find_if(mrw::g_staticAcs.begin(), mrw::g_staticAcs.end(),
                                  [&](const mrw::StaticAc& s) { return s.callsign == c.name; });
        ASSERT_NE(found, mrw::g_staticAcs.end()) << c.name;
        const std::size_t before = mrw::g_staticAcs.size();
        if (c.state == mrw::SimState::Adding2Sim) mrw::g_staticCreateQueue.push_back(request(c.name, 1));
        found->removeAircraftFromSim();
        runTicks(1);
        EXPECT_EQ(mrw::g_staticAcs.size(), before - (c.erased ? 1 : 0)) << c.name;
    }
    EXPECT_TRUE(mrw::g_staticCreateQueue.empty());
}

}  // namespace
}  // namespace mrwtest

#include "traffic/engine/live_spawn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "aircraft/aircraft_database.h"
#include "aircraft/aircraft_texts.h"
#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "engine_harness.h"
#include "foundation/geometry.h"
#include "foundation/simulator_choice.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/engine/traffic_intake.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/flight_plan_files.h"

namespace mrwtest {
namespace {

class LiveSpawnTest : public EngineHarness {
  protected:
    // A buffered aircraft whose stream holds the report's sample and `more` further samples, all due.
    mrw::LiveAc& buffered(const ReportSpec& spec, int more = 1, double stepDeg = 0.01) {
        mrw::TrafficReport report = makeReport(spec);
        mrw::lf_takeTrafficReport(report);
        mrw::LiveAc& aircraft = *live(spec.hexid);
        for (int i = 1; i <= more; ++i) {
            mrw::PositionSample next = aircraft.samples.front();
            next.lon += stepDeg * i;
            aircraft.samples.push_back(next);
        }
        for (auto& sample : aircraft.samples)
            sample.dueTick = mrw::g_engineTick.load();
        return aircraft;
    }

    static std::vector<std::string> journalFunctions() {
        std::vector<std::string> functions;
        for (const auto& entry : standin::journal("Merrowvale"))
            functions.push_back(entry.function);
        return functions;
    }
};

TEST_F(LiveSpawnTest, NothingSpawnsBeforeItsFirstSampleIsDueAndOneSampleIsDropped) {
    feed({.hexid = 0x410001,
          .callsign = "DLH10",
          .altitudeFt = 12000,
          .groundSpeedKt = 300,
          .reportTime = 10});
    feed({.hexid = 0x410002,
          .callsign = "DLH11",
          .altitudeFt = 12000,
          .groundSpeedKt = 300,
          .reportTime = 10});
    runTicks(1);
    mrw::TrafficReport second = makeReport({.hexid = 0x410002,
                                            .lon = 8.7,
                                            .altitudeFt = 12000,
                                            .groundSpeedKt = 300,
                                            .trackDeg = 80,
                                            .reportTime = 20});
    {
        std::lock_guard lock(mrw::g_trafficMutex);
        mrw::g_trafficReports.push_back(second);
    }
    runTicks(2998);
    ASSERT_NE(live(0x410001), nullptr);
    EXPECT_EQ(live(0x410001)->simState, mrw::SimState::Buffer);
    EXPECT_EQ(live(0x410002)->simState, mrw::SimState::Buffer);
    runTicks(2);
    EXPECT_EQ(live(0x410001), nullptr) << "one sample only: dropped once due";
    ASSERT_NE(live(0x410002), nullptr);
    EXPECT_EQ(live(0x410002)->simState, mrw::SimState::Adding2Sim);
    EXPECT_EQ(live(0x410002)->phase, mrw::FlightPhase::Flying);
    EXPECT_TRUE(live(0x410002)->liveryTitle.starts_with("Lufthansa A320 D-AIZ"))
        << "the real matcher on the catalogue";
    EXPECT_EQ(mrw::g_liveryOfHexid[0x410002], live(0x410002)->liveryTitle);
    EXPECT_TRUE(mrw::g_inSimHexids.contains(0x410002));
}

TEST_F(LiveSpawnTest, MixedStreamDropsOneFrontSampleATickAndSpawnsOnTheGround) {
    mrw::LiveAc& aircraft = buffered({.hexid = 0x410010, .callsign = "DLH20", .altitudeFt = 800}, 4);
    aircraft.samples[1].altitudeFt = 400;
    aircraft.samples[2].altitudeFt = 100;
    aircraft.samples[3].altitudeFt = 0;
    aircraft.samples[4].altitudeFt = 0;
    for (auto& s : aircraft.samples)
        s.airborne = s.altitudeFt > 0;
    for (std::size_t left : {4u, 3u, 2u}) {
        mrw::updateLiveAc(*live(0x410010));
        EXPECT_EQ(live(0x410010)->samples.size(), left);
        EXPECT_EQ(live(0x410010)->simState, mrw::SimState::Buffer);
    }
    mrw::updateLiveAc(*live(0x410010));
    EXPECT_EQ(live(0x410010)->simState, mrw::SimState::Adding2Sim);
    EXPECT_EQ(live(0x410010)->phase, mrw::FlightPhase::Taxi) << "on the ground without a stand";
}

TEST_F(LiveSpawnTest, StandingStillOnTheGroundWithoutAStandWaitsForAMovingSample) {
    mrw::LiveAc& aircraft = buffered({.hexid = 0x410020, .callsign = "DLH21"}, 2);
    aircraft.samples[1].stationary = true;
    mrw::updateLiveAc(aircraft);
    EXPECT_EQ(live(0x410020)->simState, mrw::SimState::Buffer);
    EXPECT_EQ(live(0x410020)->samples.size(), 2u);
    mrw::updateLiveAc(*live(0x410020));
    EXPECT_EQ(live(0x410020)->simState, mrw::SimState::Adding2Sim);
    EXPECT_EQ(live(0x410020)->phase, mrw::FlightPhase::Taxi);
}

TEST_F(LiveSpawnTest, LiveLimitRemovesTheFarthestOrGivesUp) {
    mrw::g_parameters().MAX_LIVE_SEL.current.store(10);
    for (double farthestNm : {40.0, 20.05}) {
        mrw::g_engineContainers.renew();
        for (std::uint32_t i = 0; i < 9; ++i)
            addActive({.hexid = 0x420000 + i,
                       .callsign = "AAL" + std::to_string(i),
                       .lat = kUserLat + 0.1,
                       .lon = kUserLon},
                      300 + i);
        addActive(
            {.hexid = 0x420009, .callsign = "AAL9", .lat = kUserLat + farthestNm / 60.0, .lon = kUserLon},
            309);
        mrw::LiveAc& fresh = buffered({.hexid = 0x420100,
                                       .callsign = "DLH30",
                                       .lat = kUserLat + 20.0 / 60.0,
                                       .lon = kUserLon,
                                       .altitudeFt = 12000});
        mrw::updateLiveAc(fresh);
        if (farthestNm == 40.0) {
            EXPECT_EQ(live(0x420009)->simState, mrw::SimState::RemovingFromSim);
            EXPECT_EQ(live(0x420100)->simState, mrw::SimState::Adding2Sim);
        } else {
            EXPECT_EQ(live(0x420009)->simState, mrw::SimState::Active);
            EXPECT_TRUE(live(0x420100)->eraseNeverCreated);
        }
    }
}

TEST_F(LiveSpawnTest, LiveLimitCountsTheCreationsOnTheWay) {
    mrw::g_parameters().MAX_LIVE_SEL.current.store(10);
    struct Case {
        const char* name;
        std::size_t stacked;  // creations not yet built
        std::size_t queued;   // built, not yet sent
        bool limitReached;
    };
    for (const Case& c : {Case{"5 active, 5 stacked", 5, 0, true}, Case{"5 active, 5 queued", 0, 5, true},
                          Case{"5 active, 2 stacked, 2 queued", 2, 2, false}}) {
        mrw::g_engineContainers.renew();
        for (std::uint32_t i = 0; i < 4; ++i)
            addActive({.hexid = 0x421000 + i,
                       .callsign = "UAL" + std::to_string(i),
                       .lat = kUserLat + 0.1,
                       .lon = kUserLon},
                      320 + i);
        addActive({.hexid = 0x421009, .callsign = "UAL9", .lat = kUserLat + 40.0 / 60.0, .lon = kUserLon},
                  329);
        mrw::g_addingStack.assign(c.stacked, 0x430000);
        mrw::g_liveCreateQueue.assign(c.queued, mrw::CreateRequest{});
        mrw::LiveAc& fresh = buffered({.hexid = 0x421100,
                                       .callsign = "DLH31",
                                       .lat = kUserLat + 20.0 / 60.0,
                                       .lon = kUserLon,
                                       .altitudeFt = 12000});
        mrw::updateLiveAc(fresh);
        EXPECT_EQ(live(0x421009)->simState,
                  c.limitReached ? mrw::SimState::RemovingFromSim : mrw::SimState::Active)
            << c.name;
        EXPECT_EQ(live(0x421100)->simState, mrw::SimState::Adding2Sim) << c.name;
        mrw::g_engineContainers.renew();
    }
}

struct IdentityCase {
    const char* name;
    const char* callsign;
    const char* registration;
    const char* airline;
    const char* blocked;
    bool spawns;
    const char* finalCallsign;
    const char* finalAirline;
};

TEST_F(LiveSpawnTest, SpawnDecisionOnIdentity) {
    const std::vector<IdentityCase> cases{
        {"blocked callsign", "ABC123", "", "DLH", "ABC123", false, "", ""},
        {"longer callsign than the blocked one", "ABC1234", "", "DLH", "ABC123", true, "ABC1234", "DLH"},
        {"no airline, callsign without airline", "N12345", "", "", "", true, "N12345", "PVT"},
        {"no airline, airline from the callsign", "DLH4AB", "", "", "", true, "DLH4AB", "DLH"},
        {"unusable callsign takes the registration", "@@@@@@@@", "D-ABCD", "DLH", "", true, "D-ABCD", "DLH"},
        {"nine characters and no registration", "DLH123456", "", "DLH", "", false, "", ""},
    };
    std::uint32_t hexid = 0x430000;
    for (const IdentityCase& c : cases) {
        mrw::g_parameters().BLOCK_CALLSIGN.current.set(c.blocked);
        mrw::LiveAc& aircraft = buffered({.hexid = ++hexid,
                                          .callsign = c.callsign,
                                          .registration = c.registration,
                                          .airline = c.airline,
                                          .altitudeFt = 12000});
        mrw::updateLiveAc(aircraft);
        const mrw::LiveAc& after = *live(hexid);
        EXPECT_EQ(after.simState == mrw::SimState::Adding2Sim, c.spawns) << c.name;
        EXPECT_EQ(after.eraseNeverCreated, !c.spawns) << c.name;
        if (!c.spawns) continue;
        EXPECT_EQ(after.callsign, c.finalCallsign) << c.name;
        EXPECT_EQ(mrw::g_airlineCodes().text(after.designation.airline), c.finalAirline) << c.name;
    }
}

TEST_F(LiveSpawnTest, NoLiveryRemembersTheAircraftAndErasesIt) {
    mrw::g_icaoModels().insert("A343");
    mrw::g_parameters().MATCHING_DEPTH.current.store(2);
    mrw::LiveAc& aircraft = buffered(
        {.hexid = 0x440001, .callsign = "XAX1", .registration = "9M-XXA", .airline = "XAX", .model = "A343"});
    mrw::updateLiveAc(aircraft);
    EXPECT_TRUE(live(0x440001)->eraseNeverCreated);
    EXPECT_TRUE(mrw::g_noMatchSet.contains(mrw::gf_designationRegText(*live(0x440001))));
    runTicks(1);
    EXPECT_EQ(live(0x440001), nullptr);
    mrw::LiveAc& again = buffered(
        {.hexid = 0x440002, .callsign = "XAX2", .registration = "9M-XXA", .airline = "XAX", .model = "A343"});
    mrw::updateLiveAc(again);
    EXPECT_TRUE(live(0x440002)->eraseNeverCreated) << "a known no-match is not matched again";
}

TEST_F(LiveSpawnTest, CreationHeadingIsNormalised) {
    const double twoPi = 2.0 * std::numbers::pi;
    for (auto [given, expected] :
         std::vector<std::pair<double, double>>{{-0.1, twoPi - 0.1}, {twoPi, 0.0}, {1.0, 1.0}}) {
        mrw::LiveAc& aircraft = buffered({.hexid = 0x450001, .altitudeFt = 12000});
        aircraft.respawnHeading = given;
        aircraft.prepareCreatePosition();
        EXPECT_NEAR(aircraft.simPosition.heading, expected, 1e-12) << given;
        EXPECT_DOUBLE_EQ(aircraft.headingRate, 0.0) << "airborne";
        mrw::g_liveAcs.clear();
    }
}

// An aircraft is created pointing along its way to the next sample, in the air and on the ground;
// when that sample lies on the same spot, along its report's track.
TEST_F(LiveSpawnTest, CreationHeadingIsTheWayToTheNextSample) {
    const struct {
        double altitudeFt, northDeg, eastDeg, headingDeg;
    } cases[] = {
        {12000, 0.01, 0, 0}, {12000, -0.01, 0, 180}, {12000, 0, -0.01, 270}, {0, -0.01, 0, 180},
        {0, 0, 0.01, 90},    {12000, 0, 0, 200},     {0, 0, 0, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.altitudeFt << " ft, " << c.northDeg << " N " << c.eastDeg << " E");
        mrw::LiveAc& aircraft =
            buffered({.hexid = 0x450004, .altitudeFt = c.altitudeFt, .trackDeg = 200}, 1, 0);
        mrw::PositionSample& next = aircraft.samples[1];
        next.lat += c.northDeg;
        next.lon += c.eastDeg;
        next.stationary = c.northDeg == 0 && c.eastDeg == 0;
        aircraft.prepareCreatePosition();
        EXPECT_NEAR(aircraft.simPosition.heading * 180 / std::numbers::pi, c.headingDeg, 0.01);
        mrw::g_liveAcs.clear();
    }
}

TEST_F(LiveSpawnTest, CreationPitchFollowsTheVerticalRate) {
    const double deg = std::numbers::pi / 180.0;
    for (auto [rate, pitchDeg] :
         std::vector<std::pair<double, double>>{{0, -3}, {2400, -11.8}, {5000, -11.8}, {-6000, 2.5}}) {
        mrw::LiveAc& aircraft = buffered({.hexid = 0x450002, .altitudeFt = 12000, .verticalRateFpm = rate});
        aircraft.prepareCreatePosition();
        EXPECT_NEAR(aircraft.simPosition.pitch, pitchDeg * deg, 1e-9) << rate;
        mrw::g_liveAcs.clear();
    }
    mrw::LiveAc& ground = buffered({.hexid = 0x450003});
    ground.prepareCreatePosition();
    EXPECT_DOUBLE_EQ(ground.simPosition.pitch, 0.010471975511965976);
    EXPECT_NEAR(ground.simPosition.heading, mrw::gf_bearingRad({50.05, 8.60}, {50.05, 8.61}), 1e-12);
    EXPECT_DOUBLE_EQ(ground.headingRate, ground.simPosition.heading);
}

TEST_F(LiveSpawnTest, CreatedObjectGetsItsFlightPlanAndStaticCgRequest) {
    for (bool msfs2020 : {true, false}) {
        mrw::g_msfs2020.store(msfs2020);
        mrw::LiveAc& aircraft = addActive({.hexid = 0x460001,
                                           .callsign = "DLH40",
                                           .origin = "FRA",
                                           .destination = "JFK",
                                           .altitudeFt = 3000},
                                          msfs2020 ? 501 : 502);
        aircraft.simState = mrw::SimState::Adding2Sim;
        const std::uint32_t objectId = aircraft.objectId;
        aircraft.objectId = 0;
        const std::size_t journalBefore = journalFunctions().size();
        EXPECT_FALSE(
            mrw::lf_onLiveObjectCreated(aircraft, {2, 0x460001, 0, mrw::SimEventType::LiveCreated, 0, 900}));
        EXPECT_EQ(aircraft.objectId, 0u);
        EXPECT_TRUE(mrw::lf_onLiveObjectCreated(
            aircraft, {objectId, 0x460001, 0, mrw::SimEventType::LiveCreated, 0, 900}));
        EXPECT_EQ(aircraft.objectId, objectId);
        EXPECT_DOUBLE_EQ(aircraft.heightAboveGround, 900.0);
        EXPECT_TRUE(aircraft.hasFlightPlan);
        EXPECT_TRUE(std::filesystem::exists(mrw::gf_flightPlanPath(objectId)));
        std::vector<std::string> calls = journalFunctions();
        calls.erase(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(journalBefore));
        std::vector<std::string> expected{"SimConnect_RequestDataOnSimObject"};
        if (msfs2020) expected.insert(expected.begin(), "SimConnect_AISetAircraftFlightPlan");
        EXPECT_EQ(calls, expected) << (msfs2020 ? "2020" : "2024");
        mrw::g_liveAcs.clear();
    }
}

TEST_F(LiveSpawnTest, ActiveAircraftWithoutObjectIdOrSamplesIsRemoved) {
    // Apart from DLH51: a taxiing aircraft whose stream runs out beside another one is removed for that.
    addActive({.hexid = 0x470001, .callsign = "DLH50", .lat = 50.06}, 0);
    mrw::LiveAc& empty = addActive({.hexid = 0x470002, .callsign = "DLH51"}, 601);
    empty.samples.clear();
    runTicks(1);
    EXPECT_EQ(live(0x470001), nullptr) << "no removal can be reported for it: it goes at once";
    EXPECT_EQ(live(0x470002)->simState, mrw::SimState::RemovingFromSim);
    const bool queued = mrw::g_removeQueue == std::deque<std::uint32_t>{601} ||
                        mrw::g_removeRequests == std::vector<std::uint32_t>{601};
    EXPECT_TRUE(queued) << "the one with an object id is queued for removal";
    const std::string log = folder.logText();
    EXPECT_NE(log.find("updateLiveAc objectid=0? hexid: 4653057,cs:DLH50"), std::string::npos) << log;
    EXPECT_NE(log.find("updateLiveAc stream empty ? DLH51"), std::string::npos) << log;
}

// A step that throws (here a ground speed that no aircraft flies, handed past the reader) removes
// the aircraft once with its error lines, never a line every tick; a plausible aircraft flies on.
TEST_F(LiveSpawnTest, AnAircraftWhoseStepThrowsIsRemovedOnceWithoutALineEachTick) {
    struct Case {
        const char* name;
        double groundSpeedKt;
        bool removed;
    };
    const Case cases[] = {{"300 kt", 300.0, false}, {"1e308 kt", 1e308, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mrw::g_engineContainers.renew();
        const std::size_t logBefore = folder.logText().size();
        addActive({.hexid = 0x480001,
                   .callsign = "DLH60",
                   .altitudeFt = 12000,
                   .groundSpeedKt = c.groundSpeedKt,
                   .trackDeg = 90},
                  701);
        runTicks(6000);  // 60 s
        const std::string log = folder.logText().substr(logBefore);
        const auto lines = std::count(log.begin(), log.end(), '\n');
        EXPECT_LE(lines, c.removed ? 3 : 0) << log.substr(0, 2000);
        const mrw::LiveAc* aircraft = live(0x480001);
        EXPECT_EQ(aircraft == nullptr || aircraft->simState == mrw::SimState::RemovingFromSim, c.removed);
    }
}

}  // namespace
}  // namespace mrwtest

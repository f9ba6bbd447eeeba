#include "traffic/engine/sim_event_drain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "aircraft/ac_category.h"
#include "engine_harness.h"
#include "foundation/window_model.h"
#include "support/test_support.h"
#include "traffic/engine/livery_cache.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/engine_lookups.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/model/sim_queues.h"
#include "traffic/parking/park_stands.h"
#include "traffic/parking/stand_use_learning.h"
#include "traffic/parking/static_parking.h"
#include "traffic/sim/flight_plan_files.h"
#include "traffic/sim/sim_definitions.h"

namespace mrwtest {
namespace {

class SimEventsTest : public EngineHarness {
  protected:
    static void post(mrw::SimEventType type, std::uint32_t objectId, std::int32_t hexid, double value1 = 0,
                     double value2 = 0) {
        mrw::gf_postSimEvent({objectId, hexid, 0, type, value1, value2});
    }

    static std::vector<mrw::ClientEventRequest> takeClientEvents() {
        std::lock_guard lock(mrw::g_simConnectMutex);
        std::vector<mrw::ClientEventRequest> events;
        events.swap(mrw::g_clientEvents);
        return events;
    }

    static mrw::Stand stand(std::int32_t number, const std::string& id) {
        mrw::Stand s({}, id, 50.0, 8.5, 0.0, 30.0, 9, false, false, false);
        s.number = number;
        return s;
    }

    // A live aircraft whose creation request has left: "adding2sim", no object yet.
    mrw::LiveAc& adding(const ReportSpec& spec) {
        mrw::LiveAc& aircraft = addActive(spec, 0);
        aircraft.simState = mrw::SimState::Adding2Sim;
        aircraft.phase = spec.altitudeFt > 0 ? mrw::FlightPhase::Flying : mrw::FlightPhase::Taxi;
        return aircraft;
    }
};

TEST_F(SimEventsTest, LiveObjectTogglesItsLightsTwiceAndIsTakenOverAtThe201stTick) {
    adding({.hexid = 0x480001, .callsign = "DLH60", .altitudeFt = 3000});
    post(mrw::SimEventType::LiveCreated, 701, 0x480001, 0, 2500);
    std::vector<int> toggleTicks;
    int activeAt = -1;
    for (int t = 0; t <= 200; ++t) {
        mrw::lf_processSimEvents();
        for (const auto& e : takeClientEvents())
            if (e.eventId == mrw::ALL_LIGHTS_TOGGLE && e.objectId == 701) toggleTicks.push_back(t);
        if (activeAt < 0 && live(0x480001)->simState == mrw::SimState::Active) activeAt = t;
    }
    EXPECT_EQ(toggleTicks, (std::vector<int>{49, 99}));
    EXPECT_EQ(activeAt, 200);
    EXPECT_TRUE(mrw::g_createdObjects.empty());
}

TEST_F(SimEventsTest, ActivationSetsEnginesAndLightsByPhase) {
    struct Case {
        const char* name;
        double altitudeFt;
        double heightAboveGround;
        mrw::FlightPhase phase;
        std::vector<std::uint32_t> events;  // event id, data pairs flattened
    };
    using namespace mrw;
    const std::vector<Case> cases{
        {"low airborne",
         3000,
         2500,
         FlightPhase::Flying,
         {ENGINE_AUTO_START, 0, SPOILERS_SET, 0, NAV_LIGHTS_SET, 1, BEACON_LIGHTS_SET, 1, LANDING_LIGHTS_SET,
          1, TAXI_LIGHTS_SET, 0, STROBES_SET, 1, LOGO_LIGHTS_SET, 1, CABIN_LIGHTS_SET, 1}},
        {"high airborne",
         12000,
         1500,
         FlightPhase::Flying,
         {ENGINE_AUTO_START, 0, SPOILERS_SET, 0, NAV_LIGHTS_SET, 1, BEACON_LIGHTS_SET, 1, LANDING_LIGHTS_SET,
          0, TAXI_LIGHTS_SET, 0, STROBES_SET, 1, LOGO_LIGHTS_SET, 0, CABIN_LIGHTS_SET, 0}},
        {"taxiing", 0, 0, FlightPhase::Taxi, {SPOILERS_SET,       0,   ENGINE_AUTO_START, 0,
                                              NAV_LIGHTS_SET,     1,   BEACON_LIGHTS_SET, 1,
                                              LANDING_LIGHTS_SET, 0,   TAXI_LIGHTS_SET,   1,
                                              STROBES_SET,        0,   LOGO_LIGHTS_SET,   1,
                                              CABIN_LIGHTS_SET,   1,   THROTTLE_SET,      0,
                                              FLAPS_SET,          3072}},
        {"parked", 0, 0, FlightPhase::Parked, {SPOILERS_SET,       0, ENGINE_AUTO_SHUTDOWN, 0,
                                               NAV_LIGHTS_SET,     1, BEACON_LIGHTS_SET,    0,
                                               LANDING_LIGHTS_SET, 0, TAXI_LIGHTS_SET,      0,
                                               STROBES_SET,        0, LOGO_LIGHTS_SET,      1,
                                               CABIN_LIGHTS_SET,   1, THROTTLE_SET,         0,
                                               FLAPS_SET,          0}},
    };
    std::uint32_t objectId = 800;
    for (const Case& c : cases) {
        mrw::g_liveAcs.clear();
        mrw::LiveAc& aircraft = adding({.hexid = 0x480010, .callsign = "DLH61", .altitudeFt = c.altitudeFt});
        aircraft.phase = c.phase;
        mrw::gf_setLiveObjectId(aircraft, ++objectId);
        aircraft.heightAboveGround = c.heightAboveGround;
        mrw::g_createdObjects.push_back({objectId, 0x480010, 200, 0});
        mrw::lf_processSimEvents();
        std::vector<std::uint32_t> seen;
        for (const auto& e : takeClientEvents()) {
            EXPECT_EQ(e.objectId, objectId) << c.name;
            seen.push_back(e.eventId);
            seen.push_back(e.data);
        }
        EXPECT_EQ(seen, c.events) << c.name;
        EXPECT_EQ(live(0x480010)->simState, mrw::SimState::Active) << c.name;
    }
}

// The entry of a record that went stays counted; it must never take over a later record of the same
// hexid, whose object is not the one created then.
TEST_F(SimEventsTest, CreatedEntryOfAGoneRecordIsDroppedAndNothingReachesTheUserAircraft) {
    adding({.hexid = 0x480020, .callsign = "DLH62", .altitudeFt = 3000});
    post(mrw::SimEventType::LiveCreated, 901, 0x480020);
    mrw::lf_processSimEvents();
    post(mrw::SimEventType::Removed, 901, 0);
    mrw::lf_processSimEvents();
    EXPECT_EQ(live(0x480020), nullptr);
    adding({.hexid = 0x480020, .callsign = "DLH62", .altitudeFt = 3000});
    takeClientEvents();
    for (int t = 0; t < 300; ++t)
        mrw::lf_processSimEvents();
    EXPECT_TRUE(mrw::g_createdObjects.empty());
    EXPECT_EQ(live(0x480020)->simState, mrw::SimState::Adding2Sim);
    for (const auto& e : takeClientEvents())
        EXPECT_NE(e.objectId, 0u) << e.eventId;
}

TEST_F(SimEventsTest, StaticObjectIsParkedAtThe201stTickWithoutToggles) {
    mrw::g_parkStands = {stand(1, "A1")};
    mrw::StaticAc parked;
    parked.hexid = 7;
    parked.callsign = "DLH7*";
    parked.standNumber = 1;
    parked.simState = mrw::SimState::Adding2Sim;
    mrw::g_staticAcs.push_back(parked);
    post(mrw::SimEventType::StaticCreated, 950, 7);
    for (int t = 0; t < 200; ++t)
        mrw::lf_processSimEvents();
    EXPECT_EQ(mrw::g_staticAcs.front().objectId, 0u);
    EXPECT_TRUE(takeClientEvents().empty());
    mrw::lf_processSimEvents();
    EXPECT_EQ(mrw::g_staticAcs.front().simState, mrw::SimState::Active);
    EXPECT_EQ(mrw::g_staticAcs.front().objectId, 950u);
    EXPECT_FALSE(takeClientEvents().empty());
    EXPECT_NE(folder.logText().find("A1      : DLH7*    parked"), std::string::npos);
}

TEST_F(SimEventsTest, StaticCgIsKeptWithinItsBounds) {
    mrw::LiveAc& aircraft = addActive({.hexid = 0x480030}, 960);
    aircraft.staticCgFt = 7;
    const double deg = 0.017453292519943295;
    struct Case {
        double cg, pitch, expectedCg, expectedPitch;
    };
    for (const Case& c : std::vector<Case>{{0.5, 2.5 * deg, 7, 2.5 * deg},
                                           {36, 2.6 * deg, 7, 0.7 * deg},
                                           {12, -1 * deg, 12, 0.7 * deg},
                                           {35, 0.5 * deg, 35, 0.5 * deg}}) {
        post(mrw::SimEventType::StaticCg, 960, 0, c.cg, c.pitch);
        mrw::lf_processSimEvents();
        EXPECT_DOUBLE_EQ(live(0x480030)->staticCgFt, c.expectedCg) << c.cg;
        EXPECT_NEAR(live(0x480030)->staticPitchRad, c.expectedPitch, 1e-12) << c.pitch;
    }
}

TEST_F(SimEventsTest, InRangeOnTheGroundLandsAnApproachButNotARotation) {
    mrw::LiveAc& approach = addActive({.hexid = 0x480040, .callsign = "DLH63", .altitudeFt = 50}, 970);
    approach.approaching = true;
    approach.staticCgFt = 8;
    approach.staticPitchRad = 0.01;
    approach.simPosition.pitch = -0.05;
    approach.touchdownTicks = 350;
    mrw::LiveAc& rotating = addActive({.hexid = 0x480041, .callsign = "DLH64", .altitudeFt = 50}, 971);
    rotating.onGroundInSim = false;
    rotating.rotationCounter = 5;
    rotating.phase = mrw::FlightPhase::Flying;
    post(mrw::SimEventType::InRange, 970, 1, 300, 0);
    post(mrw::SimEventType::InRange, 971, 1, 300, 40);
    mrw::lf_processSimEvents();
    const mrw::LiveAc& landed = *live(0x480040);
    EXPECT_TRUE(landed.landed && landed.landingRoll && landed.derotating && landed.onGroundInSim);
    EXPECT_FALSE(landed.approaching);
    EXPECT_NEAR(landed.pitchStep, 0.06 / 350, 1e-12);
    EXPECT_DOUBLE_EQ(landed.simPosition.altitudeFt, 308);
    EXPECT_TRUE(mrw::g_inSimHexids.contains(0x480040));
    const mrw::LiveAc& stillRotating = *live(0x480041);
    EXPECT_FALSE(stillRotating.onGroundInSim);
    EXPECT_DOUBLE_EQ(stillRotating.heightAboveGround, 40);
    EXPECT_DOUBLE_EQ(stillRotating.simPosition.altitudeFt, 300 + stillRotating.staticCgFt);
}

TEST_F(SimEventsTest, RemovedObjectFreesItsRecordStandAndSelection) {
    mrw::g_parkStands = {stand(1, "A1"), stand(2, "A2")};
    mrw::g_parkStands[1].occupied = true;
    mrw::LiveAc& parked = addActive({.hexid = 0x480050, .callsign = "DLH65"}, 980);
    parked.standNumber = 2;
    parked.phase = mrw::FlightPhase::Parked;
    parked.hasFlightPlan = true;
    writeFile(mrw::gf_flightPlanPath(980), "plan");
    mrw::g_selectedObjectId.store(980);
    mrw::LiveAc& respawning = addActive({.hexid = 0x480051, .callsign = "DLH66"}, 981);
    respawning.simState = mrw::SimState::LiveryRespawn;
    respawning.throttleIndex = 0;
    post(mrw::SimEventType::Removed, 980, 0);
    post(mrw::SimEventType::Removed, 981, 0);
    mrw::lf_processSimEvents();
    EXPECT_EQ(live(0x480050), nullptr);
    EXPECT_FALSE(std::filesystem::exists(mrw::gf_flightPlanPath(980))) << "its flight plan deleted";
    EXPECT_FALSE(mrw::g_parkStands[1].occupied);
    EXPECT_EQ(mrw::g_selectedObjectId.load(), 0u);
    const mrw::LiveAc& back = *live(0x480051);
    EXPECT_EQ(back.simState, mrw::SimState::Buffer);
    EXPECT_EQ(back.objectId, 0u);
    EXPECT_EQ(back.throttleIndex, 5);
    EXPECT_EQ(back.flapsIndex, 4);
}

TEST_F(SimEventsTest, RemovingALiveAircraftFreesItsStandAndQueuesItsObjectAtOnce) {
    mrw::g_parkStands = {stand(1, "A1"), stand(2, "A2")};
    mrw::g_parkStands[1].occupied = true;
    mrw::LiveAc& parked = addActive({.hexid = 0x480052, .callsign = "DLH68"}, 982);
    parked.standNumber = 2;
    parked.phase = mrw::FlightPhase::Parked;
    parked.removeAircraftFromSim();
    EXPECT_FALSE(mrw::g_parkStands[1].occupied) << "free before the simulator confirms the removal";
    EXPECT_EQ(mrw::g_removeQueue, (std::deque<std::uint32_t>{982}));
    EXPECT_EQ(parked.simState, mrw::SimState::RemovingFromSim);
}

TEST_F(SimEventsTest, RefusedCreationErasesTheRecordAndRemembersTheTitle) {
    mrw::LiveAc& aircraft = adding({.hexid = 0x480060, .callsign = "DLH67"});
    aircraft.liveryTitle = "Lufthansa A320 D-AIZA";
    post(mrw::SimEventType::CreateFailed, 0, 0x480060);
    mrw::lf_processSimEvents();
    EXPECT_EQ(live(0x480060), nullptr);
    EXPECT_TRUE(mrw::g_failedTitles().contains("Lufthansa A320 D-AIZA"));
}

struct RemovalCase {
    const char* name;
    mrw::SimState state;
    std::uint32_t objectId;
    bool requestQueued;
    bool removeWhenCreated;
    // Expected:
    mrw::SimState after;
    bool eraseNeverCreated;
    bool eraseWithdrawn;
    bool flagRemoveWhenCreated;
    bool queuedForRemoval;
};

TEST_F(SimEventsTest, RemoveAircraftFromSimInEveryState) {
    using S = mrw::SimState;
    const std::vector<RemovalCase> cases{
        {"buffer", S::Buffer, 0, false, false, S::Buffer, true, false, false, false},
        {"adding2sim, request queued", S::Adding2Sim, 0, true, false, S::Adding2Sim, false, true, false,
         false},
        {"adding2sim, request gone", S::Adding2Sim, 0, false, false, S::Adding2Sim, false, false, true,
         false},
        {"adding2sim, already arranged", S::Adding2Sim, 0, false, true, S::Adding2Sim, false, false, true,
         false},
        {"active", S::Active, 990, false, false, S::RemovingFromSim, false, false, false, true},
        {"liveryrespawn", S::LiveryRespawn, 990, false, false, S::RemovingFromSim, false, false, false, true},
        {"removingfromsim: queued again", S::RemovingFromSim, 990, false, false, S::RemovingFromSim, false,
         false, false, true},
        {"active without object id", S::Active, 0, false, false, S::RemovingFromSim, true, false, false,
         false},
    };
    for (const RemovalCase& c : cases) {
        mrw::g_engineContainers.renew();
        mrw::LiveAc& aircraft = addActive({.hexid = 0x490001, .callsign = "DLH70"}, c.objectId);
        aircraft.simState = c.state;
        aircraft.removeWhenCreated = c.removeWhenCreated;
        if (c.requestQueued) {
            mrw::CreateRequest request;
            request.callsign = "DLH70";
            mrw::g_liveCreateQueue = {request, request};
        }
        aircraft.removeAircraftFromSim();
        EXPECT_EQ(aircraft.simState, c.after) << c.name;
        EXPECT_EQ(aircraft.eraseNeverCreated, c.eraseNeverCreated) << c.name;
        EXPECT_EQ(aircraft.eraseWithdrawn, c.eraseWithdrawn) << c.name;
        EXPECT_EQ(aircraft.removeWhenCreated, c.flagRemoveWhenCreated) << c.name;
        EXPECT_EQ(!mrw::g_removeQueue.empty(), c.queuedForRemoval) << c.name;
        EXPECT_TRUE(mrw::g_liveCreateQueue.empty()) << c.name << ": both requests of the callsign withdrawn";
    }
}

TEST_F(SimEventsTest, RemovalArrangedBeforeCreationRemovesTheObjectOnActivation) {
    mrw::LiveAc& aircraft = adding({.hexid = 0x490010, .callsign = "DLH71", .altitudeFt = 3000});
    aircraft.removeAircraftFromSim();
    EXPECT_TRUE(aircraft.removeWhenCreated);
    post(mrw::SimEventType::LiveCreated, 995, 0x490010);
    for (int t = 0; t <= 200; ++t)
        mrw::lf_processSimEvents();
    EXPECT_EQ(live(0x490010)->simState, mrw::SimState::RemovingFromSim);
    EXPECT_EQ(mrw::g_removeQueue, (std::deque<std::uint32_t>{995}));
}

TEST_F(SimEventsTest, StandOccupiedFlagByNumber) {
    mrw::g_parkStands = {stand(1, "A1"), stand(2, "A2"), stand(3, "A3")};
    mrw::lf_setStandOccupied(2, true);
    mrw::lf_setStandOccupied(0, true);
    mrw::lf_setStandOccupied(9, true);
    EXPECT_FALSE(mrw::g_parkStands[0].occupied);
    EXPECT_TRUE(mrw::g_parkStands[1].occupied);
    EXPECT_FALSE(mrw::g_parkStands[2].occupied);
    EXPECT_EQ(mrw::gf_standName(3), "A3");
    EXPECT_EQ(mrw::gf_standName(0), "sid==0?");
    EXPECT_EQ(mrw::gf_standName(-3), "sid==?");
    EXPECT_EQ(mrw::gf_standName(4), "sid==?");
}

}  // namespace
}  // namespace mrwtest

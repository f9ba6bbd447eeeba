#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "parking_test_support.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/removal_rules.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::FlightPhase;
using mrw::g_liveAcs;
using mrw::g_staticAcs;
using mrw::SimState;

constexpr double kBaseLat = 52.3;
constexpr double kBaseLon = 4.76;
constexpr double kFeetPerNm = 6076.11549;

// The position `nmNorth` nautical miles north and `feetEast` feet east of the base.
mrw::SimPosition simAt(double nmNorth, double feetEast) {
    mrw::SimPosition position;
    position.lat = kBaseLat + nmNorth / 60.0;
    position.lon =
        kBaseLon + feetEast / kFeetPerNm / 60.0 / std::cos(position.lat * std::numbers::pi / 180.0);
    return position;
}

mrw::LiveAc& onGround(std::uint32_t hexid, const std::string& callsign, FlightPhase phase, double nmNorth,
                      double feetEast) {
    mrw::LiveAc& ac = addLive(hexid, callsign, phase);
    ac.onGroundInSim = true;
    ac.simPosition = simAt(nmNorth, feetEast);
    ac.simPosition.heading = std::numbers::pi;  // south
    return ac;
}

// The callsigns of the aircraft on their way out of the simulator, live ones first.
std::vector<std::string> removed() {
    std::vector<std::string> result;
    for (const mrw::LiveAc& ac : g_liveAcs)
        if (ac.simState == SimState::RemovingFromSim) result.push_back(ac.callsign);
    for (const mrw::StaticAc& ac : g_staticAcs)
        if (ac.simState == SimState::RemovingFromSim) result.push_back(ac.callsign);
    return result;
}

void userAt(double nmNorth, double aboveGroundFt) {
    mrw::g_userAcData.latitude = kBaseLat + nmNorth / 60.0;
    mrw::g_userAcData.longitude = kBaseLon;
    mrw::g_userAcData.heading = 0.0;  // north
    mrw::g_userAcData.altitudeAboveGroundFt = aboveGroundFt;
}

class RemovalRulesTest : public ParkingTest {
  protected:
    // S1 on the base, S2 100 m north.
    static void twoStands() {
        setParkStands({makeStand("S1", kBaseLat, kBaseLon), makeStand("S2", kBaseLat + 0.0009, kBaseLon)});
    }
};

// Each rule finds the one aircraft it is about and removes it, and leaves the look-alikes alone.
TEST_F(RemovalRulesTest, EachRuleRemovesOnlyTheAircraftItIsAbout) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> rule;
        std::vector<std::string> removed;
    };
    const auto identity = [](const char* callsign, const char* registration, const char* second = "") {
        mrw::AircraftIdentity live;
        live.callsign = callsign;
        live.registration = registration;
        live.optionCallsign2 = second;
        return live;
    };
    const Case cases[] = {
        {"a duplicate by registration",
         [] {
             addStatic(1, "AAA*", "AAA", "PH-AAA");
             addStatic(2, "BBB*", "BBB", "PH-BBB");
         },
         [&] { mrw::lf_removeStaticDuplicate(identity("KLM1", "PH-BBB")); },
         {"BBB*"}},
        {"no duplicate by an empty registration",
         [] { addStatic(1, "AAA*", "AAA", ""); },
         [&] { mrw::lf_removeStaticDuplicate(identity("KLM1", "")); },
         {}},
        {"a duplicate of the ghost's callsign",
         [] { addStatic(1, "ABC123*", "ABC123", "PH-X"); },
         [&] { mrw::lf_removeStaticDuplicate(identity("ABC123_", "")); },
         {"ABC123*"}},
        {"a duplicate by the second callsign",
         [] { addStatic(1, "IN1*", "IN1", "").optionCallsign2 = "OUT1"; },
         [&] { mrw::lf_removeStaticDuplicate(identity("XYZ", "", "OUT1")); },
         {"IN1*"}},
        {"one duplicate a call",
         [] {
             addStatic(1, "AAA*", "AAA", "PH-AAA");
             addStatic(2, "AAB*", "AAA", "PH-AAB");
         },
         [&] { mrw::lf_removeStaticDuplicate(identity("AAA", "")); },
         {"AAA*"}},
        {"a static twin of a live aircraft on the ground",
         [] {
             addStatic(1, "ABC123*", "ABC123", "");
             onGround(20001, "ABC123", FlightPhase::Taxi, 0.1, 0);
         },
         mrw::lf_removeStaticTwins,
         {"ABC123*"}},
        {"no twin of a live aircraft in the air",
         [] {
             addStatic(1, "ABC123*", "ABC123", "");
             onGround(20001, "ABC123", FlightPhase::Flying, 0.1, 0).onGroundInSim = false;
         },
         mrw::lf_removeStaticTwins,
         {}},
        {"no twin by an empty callsign",
         [] {
             addStatic(1, "*", "", "");
             onGround(20001, "", FlightPhase::Taxi, 0.1, 0);
         },
         mrw::lf_removeStaticTwins,
         {}},
        {"the static on the user's stand",
         [] {
             addStatic(2, "ON2*", "ON2", "");
             addLive(20001, "LIVE2", FlightPhase::Parked, 2);
         },
         [] { mrw::lf_clearUserStand("S2"); },
         {"ON2*"}},
        {"else the live aircraft parked on it",
         [] { addLive(20001, "LIVE2", FlightPhase::Parked, 2); },
         [] { mrw::lf_clearUserStand("S2"); },
         {"LIVE2"}},
        {"no user's stand", [] { addStatic(2, "ON2*", "ON2", ""); }, [] { mrw::lf_clearUserStand(""); }, {}},
        {"a static in the way of a taxiing aircraft",
         [] {
             addStatic(1, "ON1*", "ON1", "").halfSpanNm = 0.01;
             onGround(20001, "TAXI1", FlightPhase::Taxi, 0.005, 0).halfSpanNm = 0.01;
         },
         mrw::lf_clearStaticsInLivePaths,
         {"ON1*"}},
        {"no check where the aircraft was checked last",
         [] {
             addStatic(1, "ON1*", "ON1", "").halfSpanNm = 0.01;
             mrw::LiveAc& ac = onGround(20001, "TAXI1", FlightPhase::Taxi, 0.005, 0);
             ac.halfSpanNm = 0.01;
             ac.clearCheckPosition = {ac.simPosition.lat, ac.simPosition.lon};
         },
         mrw::lf_clearStaticsInLivePaths,
         {}},
        {"no check for a parked aircraft",
         [] {
             addStatic(1, "ON1*", "ON1", "").halfSpanNm = 0.01;
             onGround(20001, "PARK1", FlightPhase::Parked, 0.005, 0).halfSpanNm = 0.01;
         },
         mrw::lf_clearStaticsInLivePaths,
         {}},
        {"a live aircraft on the user's line below 500 ft",
         [] {
             userAt(0, 400);
             onGround(20001, "AHEAD", FlightPhase::Taxi, 0.5, 30);
         },
         mrw::lf_removeLiveInUserPath,
         {"AHEAD"}},
        {"a live aircraft behind the user on the line",
         [] {
             userAt(0, 400);
             onGround(20001, "BEHIND", FlightPhase::Taxi, -0.5, -30);
         },
         mrw::lf_removeLiveInUserPath,
         {"BEHIND"}},
        {"at 600 ft above the ground, one moving away ahead of the user",
         [] {
             userAt(0, 600);
             onGround(20001, "AWAY", FlightPhase::Taxi, 0.5, 30).simPosition.heading = 0.0;
         },
         mrw::lf_removeLiveInUserPath,
         {"AWAY"}},
        {"at 600 ft above the ground",
         [] {
             userAt(0, 600);
             onGround(20001, "AHEAD", FlightPhase::Taxi, 0.5, 30);
         },
         mrw::lf_removeLiveInUserPath,
         {}},
        {"70 ft off the line",
         [] {
             userAt(0, 400);
             onGround(20001, "ASIDE", FlightPhase::Taxi, 0.5, 70);
         },
         mrw::lf_removeLiveInUserPath,
         {}},
        {"beyond 1 nm",
         [] {
             userAt(0, 400);
             onGround(20001, "FAR", FlightPhase::Taxi, 1.2, 0);
         },
         mrw::lf_removeLiveInUserPath,
         {}},
    };
    for (const Case& c : cases) {
        resetParkingState();
        twoStands();
        c.arrange();
        c.rule();
        EXPECT_EQ(removed(), c.removed) << c.name;
    }
}

TEST_F(RemovalRulesTest, TheGhostOfASpawningAircraftIsRemovedAndRemembered) {
    twoStands();
    addLive(20001, "ABC123_", FlightPhase::Parked, 1);
    addLive(20002, "DEF456_", FlightPhase::Taxi);
    mrw::lf_removeGhost("ABC123");
    mrw::lf_removeGhost("DEF456");
    mrw::lf_removeGhost("DEF456");  // already on its way out
    EXPECT_EQ(removed(), (std::vector<std::string>{"ABC123_", "DEF456_"}));
    EXPECT_EQ(mrw::g_removedGhosts, (std::vector<std::string>{"ABC123_", "DEF456_"}));
    EXPECT_NE(log().find("S1      : ABC123_  is a ghost and will be removed, continue with ABC123"),
              std::string::npos);
    EXPECT_NE(log().find("          DEF456_  is a ghost and will be removed, continue with DEF456"),
              std::string::npos);
    EXPECT_FALSE(mrw::lf_isGhostOfLive("ABC123__"));  // ABC123_ is on its way out
    addLive(20003, "XYZ", FlightPhase::Taxi);
    EXPECT_TRUE(mrw::lf_isGhostOfLive("XYZ_"));
    EXPECT_FALSE(mrw::lf_isGhostOfLive(""));
}

// On the ground a live aircraft touching the user goes whether or not the user moved; a static one
// only once the user moved onto it.
TEST_F(RemovalRulesTest, OnTheGroundTheUserMovesStaticsAsideOnlyWhenMoving) {
    twoStands();
    mrw::g_userHalfSpanNm = 0.01;
    userAt(0, 0);
    mrw::g_staticsCheckPosition = {mrw::g_userAcData.latitude, mrw::g_userAcData.longitude};
    addStatic(1, "ON1*", "ON1", "").halfSpanNm = 0.01;
    onGround(20001, "NEAR", FlightPhase::Parked, 0.02, 0).halfSpanNm = 0.01;  // 0.02 <= 1.15 x 0.02
    onGround(20002, "NEAR2", FlightPhase::Parked, 0.02, 0).halfSpanNm = 0.01;

    mrw::lf_removeStaticsNearUser();
    EXPECT_EQ(removed(), (std::vector<std::string>{"NEAR"}));
    mrw::lf_removeStaticsNearUser();
    EXPECT_EQ(removed(), (std::vector<std::string>{"NEAR", "NEAR2"}));
    mrw::lf_removeStaticsNearUser();
    EXPECT_EQ(removed(), (std::vector<std::string>{"NEAR", "NEAR2"})) << "the user has not moved";

    userAt(0.001, 0);
    mrw::lf_removeStaticsNearUser();
    EXPECT_EQ(removed(), (std::vector<std::string>{"NEAR", "NEAR2", "ON1*"}));
}

// Every static aircraft goes: active ones through the simulator, a queued creation withdrawn and its
// record erased, a creation already sent removed once it is reported.
TEST_F(RemovalRulesTest, AllStaticsGoWhateverTheirState) {
    twoStands();
    addStatic(1, "ACT*", "ACT", "");
    addStatic(2, "QUE*", "QUE", "").simState = SimState::Adding2Sim;
    addStatic(2, "SENT*", "SENT", "").simState = SimState::Adding2Sim;
    addStatic(1, "BUF*", "BUF", "").simState = SimState::Buffer;
    mrw::CreateRequest request;
    request.callsign = "QUE*";
    mrw::g_staticCreateQueue.push_back(request);

    mrw::lf_removeAllStatics();
    ASSERT_EQ(g_staticAcs.size(), 3u);
    EXPECT_EQ(g_staticAcs[0].simState, SimState::RemovingFromSim);
    EXPECT_EQ(g_staticAcs[1].callsign, "SENT*");
    EXPECT_TRUE(g_staticAcs[1].removeWhenCreated);
    EXPECT_EQ(g_staticAcs[2].simState, SimState::Buffer);
    EXPECT_TRUE(mrw::g_staticCreateQueue.empty());
}

}  // namespace
}  // namespace mrwtest

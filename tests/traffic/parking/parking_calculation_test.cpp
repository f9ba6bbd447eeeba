#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aircraft/wingspans.h"
#include "config/parameter_catalogue.h"
#include "foundation/window_model.h"
#include "parking_test_support.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/parking_calculation.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/stand_search_internal.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::g_parkingPlan;
using mrw::g_parkStands;

class ParkingCalculationTest : public ParkingTest {
  protected:
    void SetUp() override {
        ParkingTest::SetUp();
        settings().RANDOM.current = false;
        settings().parking_percentage.current = 100;
    }
    static mrw::ParameterCatalogue& settings() { return mrw::g_parameters(); }

    // n stands 30 m apart along a meridian.
    static std::vector<mrw::Stand> stands(int n) {
        std::vector<mrw::Stand> result;
        for (int i = 0; i < n; ++i)
            result.push_back(makeStand("S" + std::to_string(i + 1), 52.0 + i * 0.0003, 4.0));
        return result;
    }

    // "stand:fitOffset:callsign" of the plan from front to back.
    static std::vector<std::string> plan() {
        std::vector<std::string> result;
        for (const auto& e : g_parkingPlan)
            result.push_back(std::to_string(e.standNumber) + ":" + std::to_string(e.fitOffset) + ":" +
                             e.optionCallsign);
        return result;
    }
};

TEST_F(ParkingCalculationTest, WantedCount) {
    struct Case {
        int stands;
        int percentage;
        int custom;
        int maxParkSel;
        int wanted;
    };
    const Case cases[] = {
        {1, 0, -1, 500, 1},   {3, 45, -1, 500, 1}, {3, 50, -1, 500, 2},    {10, 30, -1, 500, 3},
        {25, 30, -1, 500, 8}, {10, 30, 0, 500, 0}, {10, 30, 100, 500, 10}, {50, 100, -1, 10, 10},
        {0, 30, -1, 500, 1},  {10, 100, -1, 0, 0},
    };
    for (const Case& c : cases) {
        setParkStands(stands(c.stands));
        settings().parking_percentage.current = c.percentage;
        settings().CUSTOM_PARKING_PERCENTAGE.current = c.custom;
        settings().MAX_PARK_SEL.current = c.maxParkSel;
        EXPECT_EQ(mrw::lf_wantedStaticCount(), c.wanted) << c.stands << " stands, " << c.percentage << "%";
        EXPECT_EQ(mrw::g_mainWindow().maxPark.load(), c.wanted);
    }
    EXPECT_EQ(mrw::g_mainWindow().maxParkPercent.load(), 100);  // MAX_PARK_SEL 0 shows parking_percentage
}

// Monday 00:10 with MAX_FIT 2: Monday slot 0, then Sunday 47, then Sunday 46; Sunday 45 is too old.
TEST_F(ParkingCalculationTest, TheFitWindowWidensBackAcrossMidnight) {
    auto list = stands(4);
    addUse(list[0], UseSpec(7, {46}, "C46", "R46"));
    addUse(list[1], UseSpec(1, {0}, "C0", "R0"));
    addUse(list[2], UseSpec(7, {47}, "C47", "R47"));
    addUse(list[3], UseSpec(7, {45}, "C45", "R45"));
    setParkStands(std::move(list));
    settings().MAX_FIT.current = 2;
    setNow(1, 0);
    mrw::lf_calculateStaticParking();
    EXPECT_EQ(plan(), (std::vector<std::string>{"1:2:C46", "3:1:C47", "2:0:C0"}));
    EXPECT_EQ(mrw::g_fitOffsetReal, 3);
    EXPECT_NE(log().find("3 real positions found"), std::string::npos);
    EXPECT_NE(log().find("3 positions (75% vs wanted 100%, with Max fit=24.0 hours)"), std::string::npos);
    EXPECT_TRUE(mrw::g_parkingUpdateRunning.load());
}

TEST_F(ParkingCalculationTest, OnlyTheSwitchedOnModesAreSearched) {
    struct Case {
        bool week;
        bool soft;
        std::vector<std::string> plan;
    };
    const Case cases[] = {
        {false, false, {"1:0:REAL"}},
        {true, false, {"1:0:REAL", "2:0:WEEK"}},
        {false, true, {"1:0:REAL", "3:0:SOFT"}},
        {true, true, {"1:0:REAL", "2:0:WEEK", "3:0:SOFT", "4:0:WSOFT"}},
    };
    for (const Case& c : cases) {
        auto list = stands(4);
        addUse(list[0], UseSpec(3, {20}, "REAL", "A"));
        addUse(list[1], UseSpec(4, {20}, "WEEK", "B"));
        addUse(list[2], UseSpec(3, {20}, "SOFT", "C").soft());
        addUse(list[3], UseSpec(5, {20}, "WSOFT", "D").soft());
        setParkStands(std::move(list));
        settings().WEEK.current = c.week;
        settings().PARK_SOFT.current = c.soft;
        setNow(3, 20);
        mrw::lf_calculateStaticParking();
        EXPECT_EQ(plan(), c.plan) << c.week << c.soft;
    }
    EXPECT_TRUE(mrw::g_mainWindow().softParking.load());
    EXPECT_TRUE(mrw::g_mainWindow().weekParking.load());
}

// One registration never lands on two stands; the passed-over use keeps its sequence number (so the
// learned file keeps it) and the stand's other use is tried at the next offset.
TEST_F(ParkingCalculationTest, AnAircraftAlreadyPlannedIsPassedOverNotDeactivated) {
    auto list = stands(2);
    addUse(list[0], UseSpec(2, {10}, "KL1", "PH-A"));
    addUse(list[1], UseSpec(2, {10}, "KL1", "PH-A"));
    addUse(list[1], UseSpec(2, {9}, "KL2", "PH-B"));
    setParkStands(std::move(list));
    setNow(2, 10);
    mrw::lf_calculateStaticParking();
    EXPECT_EQ(plan(), (std::vector<std::string>{"2:1:KL2", "1:0:KL1"}));
    EXPECT_EQ(g_parkStands[1].options[0].sequence, 1);
    EXPECT_EQ(mrw::g_skippedUses.size(), 1u);
}

TEST_F(ParkingCalculationTest, PlannedOrParkedTests) {
    auto list = stands(1);
    setParkStands(std::move(list));
    addStatic(1, "ST1*", "ST1", "PH-ST");
    addStatic(1, "XX*", "", "");
    g_parkingPlan.push_back({1, 0, {}, "PL1", "", "PH-PL", true});
    mrw::g_liveParked.push_back({"LP1", 1, 10});
    mrw::g_liveCallsigns = {"LIVE1", "LIVE2_"};
    struct Case {
        const char* callsign;
        const char* second;
        const char* registration;
        bool planned;
    };
    const Case cases[] = {
        {"A1", "", "PH-PL", true}, {"LIVE1", "", "", true}, {"A1", "LIVE2", "", true},
        {"ST1", "", "", true},     {"A1", "ST1", "", true}, {"A1", "", "PH-ST", true},
        {"PL1", "", "", true},     {"A1", "PL1", "", true}, {"LP1", "", "", true},
        {"A1", "", "", false},     {"", "", "", false},     {"A1", "A2", "PH-NEW", false},
    };
    for (const Case& c : cases) {
        mrw::StandOption use;
        use.callsign = c.callsign;
        use.secondCallsign = c.second;
        use.registration = c.registration;
        EXPECT_EQ(mrw::lf_isPlannedOrParked(use), c.planned)
            << c.callsign << "/" << c.second << "/" << c.registration;
    }
}

TEST_F(ParkingCalculationTest, ATurnaroundEndingNowCarriesItsSecondCallsign) {
    struct Case {
        int day;
        int slot;
        std::initializer_list<int> halfHours;
        std::initializer_list<int> nextDaySlots;
        bool useFirst;
    };
    const Case cases[] = {
        {3, 20, {20, 21}, {}, true}, {3, 20, {20}, {}, false}, {3, 47, {47}, {0}, true},
        {3, 47, {47}, {1}, false},   {7, 47, {47}, {0}, true}, {7, 47, {47}, {1}, false},
    };
    for (const Case& c : cases) {
        auto list = stands(1);
        addUse(list[0], UseSpec(c.day, c.halfHours, "IN1", "R").second("OUT1"));
        addUse(list[0], UseSpec(c.day % 7 + 1, c.nextDaySlots, "NXT", "R2"));  // Sunday's next is Monday
        setParkStands(std::move(list));
        setNow(c.day, c.slot);
        mrw::lf_calculateStaticParking();
        ASSERT_EQ(g_parkingPlan.size(), 1u);
        EXPECT_EQ(g_parkingPlan[0].useFirstCallsign, c.useFirst) << c.day << ":" << c.slot;
        EXPECT_EQ(g_parkingPlan[0].optionCallsign2, "OUT1");
    }
}

TEST_F(ParkingCalculationTest, TheStaticStandingThereKeepsItsUse) {
    settings().RANDOM.current = true;
    auto list = stands(1);
    addUse(list[0], UseSpec(1, {5}, "AA1", "R1").withModel(2));
    addUse(list[0], UseSpec(1, {5}, "BB2", "R2").withModel(3));
    setParkStands(std::move(list));
    mrw::StaticAc& ac = addStatic(1, "BB2*", "", "", 3);
    ac.simState = mrw::SimState::LiveryRespawn;  // not active: its use callsign is no parked use
    setNow(1, 5);
    for (int round = 0; round < 10; ++round) {
        mrw::lf_calculateStaticParking();
        ASSERT_EQ(g_parkingPlan.size(), 1u);
        EXPECT_EQ(g_parkingPlan[0].optionCallsign, "BB2");
    }
}

TEST_F(ParkingCalculationTest, ThePlanIsThinnedToWantedInStandOrderWithoutRandom) {
    auto list = stands(10);
    for (int i = 0; i < 10; ++i)
        addUse(list[static_cast<std::size_t>(i)],
               UseSpec(1, {i < 4 ? 10 : 9}, "C" + std::to_string(i), "R" + std::to_string(i)));
    setParkStands(std::move(list));
    settings().parking_percentage.current = 60;  // 6 of 10
    setNow(1, 10);
    mrw::lf_calculateStaticParking();
    EXPECT_EQ(plan(), (std::vector<std::string>{"5:1:C4", "6:1:C5", "1:0:C0", "2:0:C1", "3:0:C2", "4:0:C3"}));

    settings().RANDOM.current = true;
    mrw::lf_calculateStaticParking();
    EXPECT_EQ(g_parkingPlan.size(), 6u);
    EXPECT_EQ(g_parkingPlan.back().fitOffset, 0);
    EXPECT_EQ(g_parkingPlan.front().fitOffset, 1);
}

TEST_F(ParkingCalculationTest, ExcludedBlockedAndCollidingStandsGetNothing) {
    auto list = stands(4);
    for (auto& stand : list)
        addUse(stand, UseSpec(1, {10}, "C" + stand.id, "R" + stand.id).withModel(7));
    list[0].overlaps = {2};  // planning S1 blocks S2
    list[2].overlaps = {4};  // S3 lies next to the static aircraft on S4
    setParkStands(std::move(list));
    mrw::g_halfWingspans[7] = 0.02;
    addStatic(4, "ON4*", "ON4", "R-ON4", 7);
    mrw::g_userStandName.set("S1");
    setNow(1, 10);
    mrw::lf_calculateStaticParking();
    // S1 is the user's, S3 touches the static on S4 (2 x 0.02 nm > 30 m), S4 holds its use's twin.
    EXPECT_EQ(plan(), (std::vector<std::string>{"2:0:CS2", "4:0:CS4"}));
    EXPECT_TRUE(g_parkStands[0].excluded);
}

TEST_F(ParkingCalculationTest, AHelicopterStandIsPlannedOnlyWithHelicoptersOn) {
    for (const bool helicopters : {true, false}) {
        SCOPED_TRACE(helicopters ? "HELICOPTERS on" : "HELICOPTERS off");
        mrw::g_parkingPlan.clear();
        auto list = stands(2);
        list[0].heli = true;
        for (auto& stand : list)
            addUse(stand, UseSpec(1, {10}, "C" + stand.id, "R" + stand.id));
        setParkStands(std::move(list));
        settings().HELICOPTERS.current = helicopters;
        setNow(1, 10);
        mrw::lf_calculateStaticParking();
        EXPECT_EQ(plan(), helicopters ? (std::vector<std::string>{"1:0:CS1", "2:0:CS2"})
                                      : (std::vector<std::string>{"2:0:CS2"}));
    }
}

TEST_F(ParkingCalculationTest, NothingFoundIsLoggedAndEnablesTheControls) {
    setParkStands(stands(3));
    setNow(1, 10);
    mrw::lf_calculateStaticParking();
    EXPECT_TRUE(g_parkingPlan.empty());
    EXPECT_NE(log().find("no parking positions found"), std::string::npos);
    EXPECT_FALSE(mrw::g_parkingUpdateRunning.load());
}

TEST_F(ParkingCalculationTest, CountsAndAverageFit) {
    setParkStands(stands(3));
    setNow(1, 2);
    addStatic(1, "A*", "A", "RA").parkedSince = {1, 0};   // 2 half hours
    addStatic(2, "B*", "B", "RB").parkedSince = {7, 46};  // 4 half hours, across the week's end
    addStatic(3, "C*", "C", "RC").simState = mrw::SimState::Adding2Sim;
    mrw::StaticAc& leaving = addStatic(3, "D*", "D", "RD");  // 0 half hours, still in the simulator
    leaving.parkedSince = {1, 2};
    leaving.simState = mrw::SimState::RemovingFromSim;
    EXPECT_EQ(mrw::gf_countStaticParked(true), 3u);
    EXPECT_FLOAT_EQ(mrw::g_mainWindow().averageFitStatic.load(), 6.0F / 6.0F + 0.5F);
    addLive(20001, "L1", mrw::FlightPhase::Parked, 1).parkedSince = {1, 1};
    addLive(20002, "L2", mrw::FlightPhase::Parked, 2);  // parked since unknown: counted, no fit
    addLive(20003, "L3", mrw::FlightPhase::Taxi);
    EXPECT_EQ(mrw::gf_countLiveParked(true), 2u);
    EXPECT_FLOAT_EQ(mrw::g_mainWindow().averageFitLive.load(), 1.0F / 4.0F + 0.5F);
}

}  // namespace
}  // namespace mrwtest

#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aircraft/wingspans.h"
#include "config/parameter_catalogue.h"
#include "foundation/clock.h"
#include "foundation/window_model.h"
#include "parking_test_support.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/parking_adjustments.h"
#include "traffic/parking/parking_adjustments_internal.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::FlightPhase;
using mrw::g_liveAcs;
using mrw::g_parkingPlan;
using mrw::g_parkStands;
using mrw::g_staticAcs;
using mrw::SimState;

constexpr std::int64_t kNowSeconds = 1'735'689'600;
constexpr std::int64_t k100nsPerMinute = 600'000'000;

class ParkingAdjustmentsTest : public ParkingTest {
  protected:
    void SetUp() override {
        ParkingTest::SetUp();
        arrange();
    }
    // The clock and the settings of every test: no random choice, every stand wanted.
    static void arrange() {
        mrw::gf_setWallClockForTests([] { return kNowSeconds; });
        settings().RANDOM.current = false;
        settings().parking_percentage.current = 100;
    }
    void TearDown() override {
        mrw::gf_setWallClockForTests({});
        ParkingTest::TearDown();
    }
    static mrw::ParameterCatalogue& settings() { return mrw::g_parameters(); }

    // n stands 100 m apart along a meridian.
    static std::vector<mrw::Stand> stands(int n) {
        std::vector<mrw::Stand> result;
        for (int i = 0; i < n; ++i)
            result.push_back(makeStand("S" + std::to_string(i + 1), 52.0 + i * 0.0009, 4.0));
        return result;
    }

    static mrw::LiveAc& parkedFor(std::uint32_t hexid, const std::string& callsign, std::int32_t standNumber,
                                  std::int64_t minutes, mrw::AcCategory category = mrw::AcCategory::Large) {
        mrw::LiveAc& ac = addLive(hexid, callsign, FlightPhase::Parked, standNumber);
        ac.category = category;
        ac.parkedAt = kNowSeconds * 10'000'000 - minutes * k100nsPerMinute;
        return ac;
    }

    static std::vector<std::string> removed() {
        std::vector<std::string> result;
        for (const mrw::LiveAc& ac : g_liveAcs)
            if (ac.simState == SimState::RemovingFromSim) result.push_back(ac.callsign);
        for (const mrw::StaticAc& ac : g_staticAcs)
            if (ac.simState == SimState::RemovingFromSim) result.push_back(ac.callsign);
        return result;
    }

    static std::vector<std::string> planCallsigns() {
        std::vector<std::string> result;
        for (const auto& e : g_parkingPlan)
            result.push_back(std::to_string(e.standNumber) + ":" + e.optionCallsign);
        return result;
    }
};

// A live aircraft parked beyond 90 minutes (a Heavy: 180) goes, unless it is exempt or static
// aircraft are made once only; the kept ones are sorted longest parked last.
TEST_F(ParkingAdjustmentsTest, LiveAircraftParkedTooLongAreRemoved) {
    setParkStands(stands(6));
    parkedFor(20001, "L91", 1, 91);
    parkedFor(20002, "L90", 2, 90);
    parkedFor(20003, "H181", 3, 181, mrw::AcCategory::Heavy);
    parkedFor(20004, "H180", 4, 180, mrw::AcCategory::Heavy);
    parkedFor(20005, "EXEMPT", 5, 500).parkedTimeExempt = true;
    mrw::lf_collectLiveParked();
    EXPECT_EQ(removed(), (std::vector<std::string>{"L91", "H181"}));
    std::vector<std::string> kept;
    for (const auto& e : mrw::g_liveParked)
        kept.push_back(e.callsign + ":" + std::to_string(e.minutesParked));
    EXPECT_EQ(kept, (std::vector<std::string>{"EXEMPT:0", "L90:90", "H180:180"}));

    resetParkingState();
    mrw::gf_setWallClockForTests([] { return kNowSeconds; });
    setParkStands(stands(6));
    settings().INITIAL_LOAD_ONLY.current = true;
    parkedFor(20001, "L91", 1, 91);
    mrw::lf_collectLiveParked();
    EXPECT_TRUE(removed().empty());
    EXPECT_EQ(mrw::g_liveParked.size(), 1u);
}

// At 00:00 on a Monday with a fit of 4 half hours, a use holding Sunday slot 43 still fits, one
// holding only Sunday slot 42 does not; the use must be of the aircraft's registration and type.
TEST_F(ParkingAdjustmentsTest, AUseFitsBackAcrossMidnight) {
    struct Case {
        int day;
        int slot;
        const char* registration;
        mrw::CodeIndex model;
        bool fits;
    };
    const Case cases[] = {
        {7, 46, "PH-A", 1, true},  {7, 43, "PH-A", 1, true},  {7, 42, "PH-A", 1, false},
        {7, 40, "PH-A", 1, false}, {1, 0, "PH-A", 1, true},   {7, 47, "PH-B", 1, false},
        {7, 47, "PH-A", 2, false}, {6, 46, "PH-A", 1, false},
    };
    mrw::g_fitOffsetReal = 4;
    mrw::g_fitOffsetSoft = -1;
    for (const Case& c : cases) {
        auto list = stands(1);
        addUse(list[0], UseSpec(c.day, {c.slot}, "KL1", c.registration).withModel(c.model));
        list[0].options[0].sequence = 0;  // passed over by a search: still the aircraft's use
        setParkStands(std::move(list));
        mrw::AircraftIdentity identity;
        identity.registration = "PH-A";
        identity.designation.airline = 1;
        identity.designation.model = 1;
        EXPECT_EQ(mrw::lf_standUseFits({1, 0}, 1, identity), c.fits) << c.day << ":" << c.slot;
    }
    EXPECT_FALSE(mrw::lf_standUseFits({1, 0}, 2, mrw::AircraftIdentity{}));
}

// A static whose flight is reported live goes, and its stand takes another use in the same
// adjustment; a static whose use still fits stays; one whose use has ended goes.
TEST_F(ParkingAdjustmentsTest, StaticsReportedLiveOrOutOfTimeMakeRoom) {
    auto list = stands(3);
    addUse(list[0], UseSpec(3, {20}, "LIVE1", "PH-L"));
    addUse(list[0], UseSpec(3, {19, 20}, "NEXT1", "PH-N"));
    addUse(list[1], UseSpec(3, {20}, "KEEP2", "PH-K"));
    addUse(list[2], UseSpec(3, {10}, "OLD3", "PH-O"));
    setParkStands(std::move(list));
    setNow(3, 20);
    settings().MAX_FIT.current = 4;  // slot 10 lies beyond the widest fit
    addStatic(1, "LIVE1*", "LIVE1", "PH-L").parkedSince = {3, 20};
    addStatic(2, "KEEP2*", "KEEP2", "PH-K").parkedSince = {3, 20};
    addStatic(3, "OLD3*", "OLD3", "PH-O").parkedSince = {3, 10};
    {
        std::lock_guard lock(mrw::TrafficReader::callsignsMutex);
        mrw::TrafficReader::callsigns = {"LIVE1"};
    }

    mrw::lf_adjustParking();
    EXPECT_EQ(removed(), (std::vector<std::string>{"LIVE1*", "OLD3*"}));
    EXPECT_EQ(planCallsigns(), (std::vector<std::string>{"1:NEXT1"}));
    EXPECT_NE(log().find("Parking adjustments: 2 to be removed, 1 to be added"), std::string::npos);
}

// A turnaround whose use ends with the current half hour is made again under its second callsign
// on the same stand, and keeps its parked-since half hour. At 23:30 it ends unless its use holds
// the next day at 00:00; Sunday's next day is Monday.
TEST_F(ParkingAdjustmentsTest, AnEndingTurnaroundIsMadeAgainUnderItsSecondCallsign) {
    struct Case {
        int day;
        std::initializer_list<int> halfHours;
        mrw::WeekSlot parkedSince;
        int nextDay;
        std::initializer_list<int> nextDaySlots;
        bool replaced;
        int fitOffset;
    };
    const Case cases[] = {
        {3, {18, 19, 20}, {3, 18}, 4, {}, true, 2},  // Wednesday 10:00, parked since 09:00
        {7, {45, 46, 47}, {7, 45}, 1, {0, 1}, false, 0},
        {7, {45, 46, 47}, {7, 45}, 1, {1}, true, 2},
        {6, {45, 46, 47}, {6, 45}, 7, {0}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "day " << c.day << ", next day " << c.nextDay);
        resetParkingState();
        arrange();
        auto list = stands(1);
        addUse(list[0], UseSpec(c.day, c.halfHours, "IN1", "PH-T").second("OUT1"));
        addUse(list[0], UseSpec(c.nextDay, c.nextDaySlots, "IN1", "PH-T").second("OUT1"));
        setParkStands(std::move(list));
        const int now = *(c.halfHours.end() - 1);
        setNow(c.day, now);
        addStatic(1, "IN1*", "IN1", "PH-T").optionCallsign2 = "OUT1";
        g_staticAcs[0].parkedSince = c.parkedSince;

        mrw::lf_adjustParking();
        if (!c.replaced) {
            EXPECT_TRUE(removed().empty());
            EXPECT_TRUE(g_parkingPlan.empty());
            continue;
        }
        EXPECT_EQ(removed(), (std::vector<std::string>{"IN1*"}));
        ASSERT_EQ(g_parkingPlan.size(), 1u);
        EXPECT_EQ(g_parkingPlan[0].standNumber, 1);
        EXPECT_FALSE(g_parkingPlan[0].useFirstCallsign);
        EXPECT_EQ(g_parkingPlan[0].optionCallsign2, "OUT1");
        EXPECT_EQ(g_parkingPlan[0].fitOffset, c.fitOffset);  // the new aircraft is parked since then
    }
}

// Wanted 2 with 4 live aircraft parked: the two beyond it go before anything else.
TEST_F(ParkingAdjustmentsTest, LiveAircraftBeyondTheWantedNumberGoFirst) {
    setParkStands(stands(4));
    settings().parking_percentage.current = 50;
    parkedFor(20001, "L1", 1, 10);
    parkedFor(20002, "L2", 2, 20);
    parkedFor(20003, "L3", 3, 30);
    parkedFor(20004, "L4", 4, 40);
    setNow(3, 20);
    mrw::lf_adjustParking();
    EXPECT_EQ(removed().size(), 2u);
    EXPECT_NE(log().find("Parking adjustments: 2 more live ac than wanted"), std::string::npos);
    EXPECT_EQ(mrw::g_liveParked.size(), 2u);
    EXPECT_TRUE(g_parkingPlan.empty());
}

// More kept and planned than wanted: new entries are dropped first, then the earliest parked static.
TEST_F(ParkingAdjustmentsTest, ASurplusDropsNewEntriesThenTheEarliestParkedStatic) {
    auto list = stands(4);
    addUse(list[0], UseSpec(3, {18, 19, 20}, "ST1", "PH-1"));
    addUse(list[1], UseSpec(3, {19, 20}, "ST2", "PH-2"));
    addUse(list[2], UseSpec(3, {20}, "NEW3", "PH-3"));
    setParkStands(std::move(list));
    settings().parking_percentage.current = 50;  // 2 of 4
    setNow(3, 20);
    addStatic(1, "ST1*", "ST1", "PH-1").parkedSince = {3, 18};
    addStatic(2, "ST2*", "ST2", "PH-2").parkedSince = {3, 19};
    mrw::lf_adjustParking();
    EXPECT_TRUE(g_parkingPlan.empty());
    EXPECT_TRUE(removed().empty());

    settings().parking_percentage.current = 25;  // 1 of 4: the earliest parked goes
    mrw::lf_adjustParking();
    EXPECT_EQ(removed(), (std::vector<std::string>{"ST1*"}));
}

// The renumbering makes the uses a search passed over active again.
TEST_F(ParkingAdjustmentsTest, AnAdjustmentRenumbersEveryUse) {
    auto list = stands(1);
    addUse(list[0], UseSpec(3, {20}, "A", "PH-A"));
    addUse(list[0], UseSpec(3, {20}, "B", "PH-B"));
    list[0].options[0].sequence = 0;
    setParkStands(std::move(list));
    mrw::g_skippedUses.insert(1);
    setNow(3, 20);
    mrw::lf_adjustParking();
    EXPECT_EQ(g_parkStands[0].options[0].sequence, 1);
    EXPECT_EQ(g_parkStands[0].options[1].sequence, 2);
    EXPECT_TRUE(mrw::g_skippedUses.empty());
    EXPECT_EQ(planCallsigns(), (std::vector<std::string>{"1:A"}));
}

}  // namespace
}  // namespace mrwtest

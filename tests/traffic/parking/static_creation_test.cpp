#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "aircraft/catalogue_test_fixture.h"
#include "parking_test_support.h"
#include "traffic/model/engine_containers.h"
#include "traffic/parking/parking_plan.h"
#include "traffic/parking/static_creation.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::g_parkingPlan;
using mrw::g_staticAcs;
using mrw::SimState;

// Static parking with the livery catalogue fixture: KLM B77W and the generic liveries.
class StaticCreationTest : public CatalogueTest {
  protected:
    void SetUp() override {
        resetParkingState();
        CatalogueTest::SetUp();
        buildCatalogue();
        // S1 and S2 overlap; S3 stands apart.
        std::vector<mrw::Stand> stands{makeStand("S1", 52.3, 4.76), makeStand("S2", 52.3003, 4.76),
                                       makeStand("S3", 52.31, 4.76)};
        stands[0].overlaps = {2};
        stands[1].overlaps = {1};
        stands[0].heading = 1.0;
        setParkStands(std::move(stands));
        setNow(2, 20);  // Tuesday 10:00
    }
    void TearDown() override {
        CatalogueTest::TearDown();
        resetParkingState();
    }

    static mrw::ParkingPlanEntry entry(std::int32_t standNumber, std::string callsign,
                                       std::string second = "", bool useFirst = true,
                                       std::int32_t fitOffset = 0) {
        mrw::ParkingPlanEntry e;
        e.standNumber = standNumber;
        e.fitOffset = fitOffset;
        e.designation.airline = airlineIndex("KLM");
        e.designation.model = modelIndex("B77W");
        e.optionCallsign = std::move(callsign);
        e.optionCallsign2 = std::move(second);
        e.registration = "PH-BVA";
        e.useFirstCallsign = useFirst;
        return e;
    }

    // Makes the one entry into a static aircraft; its callsign, or "" when none was made.
    static std::string make(const mrw::ParkingPlanEntry& e) {
        mrw::g_engineContainers.renew();
        g_parkingPlan = {e};
        mrw::lf_detcs();
        EXPECT_TRUE(g_parkingPlan.empty());
        return g_staticAcs.empty() ? std::string{} : g_staticAcs.back().callsign;
    }
};

TEST_F(StaticCreationTest, TheBestFittingEntryBecomesAStaticQueuedAtItsStand) {
    g_parkingPlan = {entry(3, "KLM2"), entry(1, "KLM1")};
    mrw::lf_detcs();
    ASSERT_EQ(g_staticAcs.size(), 1u);
    const mrw::StaticAc& ac = g_staticAcs.front();
    EXPECT_EQ(ac.callsign, "KLM1*");
    EXPECT_EQ(ac.optionCallsign, "KLM1");
    EXPECT_EQ(ac.registration, "PH-BVA");
    EXPECT_EQ(ac.hexid, 1u);
    EXPECT_EQ(ac.standNumber, 1);
    EXPECT_EQ(ac.simState, SimState::Adding2Sim);
    EXPECT_EQ(ac.parkedSince, (mrw::WeekSlot{2, 20}));
    EXPECT_EQ(ac.liveryTitle, "KLM B77W");
    ASSERT_EQ(mrw::g_staticCreateQueue.size(), 1u);
    const mrw::CreateRequest& request = mrw::g_staticCreateQueue.front();
    EXPECT_EQ(request.callsign, "KLM1*");
    EXPECT_EQ(request.title, "KLM B77W");
    EXPECT_EQ(request.hexid, 1);
    EXPECT_DOUBLE_EQ(request.initPosition.Latitude, 52.3);
    EXPECT_DOUBLE_EQ(request.initPosition.Heading, 57.29577951308232);
    EXPECT_EQ(request.initPosition.OnGround, 1u);
    EXPECT_EQ(g_parkingPlan.size(), 1u);
}

TEST_F(StaticCreationTest, TheCallsignComesFromTheUseOrTheAirlineAndNumber) {
    struct Case {
        const char* callsign;
        const char* second;
        bool useFirst;
        const char* expected;
    };
    const Case cases[] = {
        {"ABC123_", "", true, "ABC123*"}, {"ABC1*", "", true, "ABC1*"},  {"IN1", "ABC124", false, "ABC124*"},
        {"IN1", "", false, "IN1*"},       {"IN1", "OUT1", true, "IN1*"}, {"", "", true, "KLM{}*"},
    };
    for (const Case& c : cases) {
        std::string expected = c.expected;
        if (const auto at = expected.find("{}"); at != std::string::npos)
            expected.replace(at, 2, std::to_string(mrw::g_staticNumber + 1));
        EXPECT_EQ(make(entry(1, c.callsign, c.second, c.useFirst)), expected)
            << c.callsign << "/" << c.second;
    }
    EXPECT_EQ(mrw::lf_staticCallsign(""), "*");
    EXPECT_EQ(mrw::lf_staticCallsign("AB__"), "AB*");
}

// parkedSince lies fitOffset half hours back: Tuesday 10:10 less 3 is 08:30; Monday 00:40 less 3 is
// Sunday 23:00.
TEST_F(StaticCreationTest, ParkedSinceLiesTheFitOffsetBack) {
    struct Case {
        int weekday;
        int slot;
        mrw::WeekSlot expected;
    };
    for (const Case& c : {Case{2, 20, {2, 17}}, Case{1, 1, {7, 46}}}) {
        setNow(c.weekday, c.slot);
        ASSERT_EQ(make(entry(1, "KLM1", "", true, 3)), "KLM1*");
        EXPECT_EQ(g_staticAcs.back().parkedSince, c.expected) << c.weekday << ":" << c.slot;
    }
}

// Static numbers run 1 to 9999, never 0, and pass over the numbers of static aircraft that still
// exist.
TEST_F(StaticCreationTest, StaticNumbersWrapTo1AndSkipNumbersInUse) {
    mrw::g_staticNumber = 9998;
    g_parkingPlan = {entry(3, "C3"), entry(1, "C1")};
    mrw::lf_detcs();
    EXPECT_EQ(g_staticAcs.back().hexid, 9999u);
    g_staticAcs.back().hexid = 1;  // a static with number 1 still stands
    mrw::lf_detcs();
    EXPECT_EQ(g_staticAcs.back().hexid, 2u);
}

TEST_F(StaticCreationTest, AStandTakenMeanwhileDropsTheEntry) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        std::int32_t standNumber;
        const char* line;  // nullptr: the static is made
    };
    const Case cases[] = {
        {"a live aircraft parking on the stand", [] { addLive(20001, "LIV1", mrw::FlightPhase::Parking, 1); },
         1, "S1      : no static parking for KLM1, live aircraft LIV1 standing here"},
        {"a live aircraft parked next to it", [] { addLive(20001, "LIV2", mrw::FlightPhase::Parked, 2); }, 1,
         "S1      : no static parking for KLM1, live aircraft LIV2 is adjacent at S2, possibly colliding"},
        {"a taxiing live aircraft", [] { addLive(20001, "LIV1", mrw::FlightPhase::Taxi, 1); }, 1, nullptr},
        {"a queued static next to it",
         [] { addStatic(2, "ST2*", "ST2", "PH-ST2").simState = SimState::Adding2Sim; }, 1,
         "S1      : no static parking for KLM1, static aircraft ST2* is adjacent at S2, possibly colliding"},
        {"a static removed to make room",
         [] { addStatic(1, "OLD*", "OLD", "").simState = SimState::RemovingFromSim; }, 1, nullptr},
        {"a live aircraft occupying the stand", [] { mrw::g_parkStands[0].occupied = true; }, 1,
         "S1      : no static parking for KLM1, live aircraft occupies the stand"},
        {"an unknown stand", [] {}, 9, "==> stand with id sid==? not found"},
    };
    for (const Case& c : cases) {
        mrw::g_engineContainers.renew();
        mrw::g_parkStands[0].occupied = false;
        c.arrange();
        const std::size_t before = g_staticAcs.size();
        g_parkingPlan = {entry(c.standNumber, "KLM1")};
        mrw::lf_detcs();
        EXPECT_TRUE(g_parkingPlan.empty()) << c.name;
        EXPECT_EQ(g_staticAcs.size(), c.line == nullptr ? before + 1 : before) << c.name;
        if (c.line != nullptr) {
            EXPECT_NE(folder.logText().find(c.line), std::string::npos) << c.name;
        }
    }
}

}  // namespace
}  // namespace mrwtest

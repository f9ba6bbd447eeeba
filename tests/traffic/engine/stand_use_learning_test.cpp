#include "traffic/parking/stand_use_learning.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "engine_harness.h"
#include "support/half_hours.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

class StandLearningTest : public EngineHarness {
  protected:
    void SetUp() override {
        EngineHarness::SetUp();
        mrw::g_dbaseRecords() = {
            {"D-ABVM", {mrw::gf_airlineIndex("DLH"), 0, mrw::gf_modelIndex("B744"), 0, 1}},
            {"D-AIZA", {mrw::gf_airlineIndex("DLH"), 0, mrw::gf_modelIndex("A320"), 0, 1}},
            {"N850FD", {mrw::gf_airlineIndex("FDX"), 0, mrw::gf_modelIndex("B77L"), 1, 1}},
        };
        mrw::Stand stand({}, "V101", 50.05, 8.6, 0, 40, 9, false, false, false);
        stand.number = 1;
        mrw::g_parkStands = {stand};
        mrw::g_optionCount = 0;
    }
    void TearDown() override {
        mrw::g_dbaseRecords().clear();
        EngineHarness::TearDown();
    }

    static void now(int weekday, int slot) {
        mrw::g_weekSlotNow.store(weekday | (static_cast<std::int64_t>(slot) << 32));
    }

    mrw::LiveAc& aircraft(const std::string& registration, const std::string& model = "A320") {
        mrw::g_liveAcs.clear();
        mrw::LiveAc& a = addActive(
            {.hexid = 0x570001, .callsign = "DLH400", .registration = registration, .model = model}, 333);
        return a;
    }

    static const std::vector<mrw::StandOption>& options() { return mrw::g_parkStands[0].options; }

    static std::vector<int> slotsOf(const mrw::StandOption& option) {
        std::vector<int> slots;
        for (int s = 0; s < 48; ++s)
            if (option.halfHours.test(static_cast<std::size_t>(s))) slots.push_back(s);
        return slots;
    }

    // The aircraft seen at the stand on (weekday, slot), one after the other.
    void seen(const std::string& registration, const std::string& model,
              std::vector<std::pair<int, int>> times, int mode = 0) {
        for (auto [weekday, slot] : times) {
            now(weekday, slot);
            mrw::lf_addRealStandOption(1, aircraft(registration, model), mode);
        }
    }
};

struct SpanCase {
    const char* name;
    const char* registration;
    const char* model;
    std::vector<std::pair<int, int>> times;
    std::vector<std::vector<int>> optionSlots;
};

TEST_F(StandLearningTest, UsesAreExtendedWithinTheLearningSpan) {
    const std::vector<SpanCase> cases{
        {"large, gap 5", "D-AIZA", "A320", {{1, 20}, {1, 25}}, {{20, 21, 22, 23, 24, 25}}},
        {"large, gap 6", "D-AIZA", "A320", {{1, 20}, {1, 26}}, {{20}, {26}}},
        {"heavy, gap 7", "D-ABVM", "B744", {{1, 20}, {1, 27}}, {{20, 21, 22, 23, 24, 25, 26, 27}}},
        {"heavy, gap 8", "D-ABVM", "B744", {{1, 20}, {1, 28}}, {{20}, {28}}},
        {"cargo, gap 11",
         "N850FD",
         "B77L",
         {{1, 20}, {1, 31}},
         {{20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31}}},
        {"same half hour twice", "D-AIZA", "A320", {{1, 20}, {1, 20}}, {{20}}},
        {"trailing underscore", "D-AIZA_", "A320", {{1, 20}}, {{20}}},
        {"unknown registration", "D-XXXX", "A320", {{1, 20}}, {}},
        {"a new weekday starts its own use", "D-AIZA", "A320", {{1, 46}, {2, 1}}, {{46}, {1}}},
    };
    for (const SpanCase& c : cases) {
        mrw::g_parkStands[0].options.clear();
        seen(c.registration, c.model, c.times);
        std::vector<std::vector<int>> actual;
        for (const auto& option : options())
            actual.push_back(slotsOf(option));
        EXPECT_EQ(actual, c.optionSlots) << c.name;
        std::string registration = c.registration;
        if (registration.back() == '_') registration.pop_back();
        for (const auto& option : options())
            EXPECT_EQ(option.registration, registration) << c.name;
    }
}

TEST_F(StandLearningTest, AnExtensionAcrossMidnightIsSharedByTwoUses) {
    seen("D-AIZA", "A320", {{1, 46}});
    mrw::LiveAc& a = aircraft("D-AIZA");
    EXPECT_TRUE(mrw::lf_addStandOption({2, 1}, mrw::g_parkStands[0], 1, {1, 46}, a, "D-AIZA", false));
    ASSERT_EQ(options().size(), 2u);
    EXPECT_EQ(slotsOf(options()[0]), (std::vector<int>{46, 47}));
    EXPECT_EQ(slotsOf(options()[1]), (std::vector<int>{0, 1}));
    EXPECT_EQ(options()[1].day, 2);
    EXPECT_FALSE(mrw::lf_addStandOption({2, 10}, mrw::g_parkStands[0], 1, {1, 46}, a, "D-AIZA", false))
        << "a gap of 12 half hours is too long";
    EXPECT_TRUE(mrw::lf_addStandOption({2, 10}, mrw::g_parkStands[0], 0, {1, 46}, a, "D-AIZA", false))
        << "no option: nothing to extend";
}

TEST_F(StandLearningTest, SundayNightJoinsMonday) {
    seen("D-AIZA", "A320", {{7, 46}});
    mrw::LiveAc& a = aircraft("D-AIZA");
    EXPECT_TRUE(mrw::lf_addStandOption({1, 1}, mrw::g_parkStands[0], 1, {7, 46}, a, "D-AIZA", false));
    ASSERT_EQ(options().size(), 2u);
    EXPECT_EQ(slotsOf(options()[0]), (std::vector<int>{46, 47}));
    EXPECT_EQ(options()[0].day, 7);
    EXPECT_EQ(slotsOf(options()[1]), (std::vector<int>{0, 1}));
    EXPECT_EQ(options()[1].day, 1);
}

TEST_F(StandLearningTest, ExtensionsAreCountedAndModesTwoAndThreeMarkCpl) {
    seen("D-AIZA", "A320", {{1, 20}});
    EXPECT_EQ(mrw::g_optionCount, 1);
    seen("D-AIZA", "A320", {{1, 22}});
    EXPECT_EQ(mrw::g_optionCount, 2) << "an extension counts too";
    EXPECT_FALSE(options()[0].cpl);
    seen("D-AIZA", "A320", {{1, 22}}, 2);
    EXPECT_TRUE(options()[0].cpl) << "the same half hour again with mode 2";
    EXPECT_EQ(options().size(), 1u);
    seen("D-AIZA", "A320", {{1, 23}}, 0);
    EXPECT_EQ(options().size(), 2u) << "a cpl option is not extended: a new one beside it";
}

TEST_F(StandLearningTest, AUseAnAirportFileListsAtOtherHalfHoursIsNotLearned) {
    mrw::StandOption listed;
    listed.registration = "D-AIZA";
    listed.day = 1;
    listed.sequence = 1;
    listed.origin = 1;
    listed.real = 1;
    listed.halfHours.set(30);
    mrw::g_parkStands[0].options = {listed};
    seen("D-AIZA", "A320", {{1, 20}});
    EXPECT_EQ(options().size(), 1u);
    seen("D-AIZA", "A320", {{2, 20}});
    EXPECT_EQ(options().size(), 2u) << "another weekday";
}

TEST_F(StandLearningTest, OptionCallsignsNeedASecondCallsignInTheWindow) {
    mrw::StandOption withSecond;
    withSecond.designation.airline = mrw::gf_airlineIndex("DLH");
    withSecond.callsign = "DLH400";
    withSecond.secondCallsign = "AB123";
    withSecond.day = 1;
    withSecond.sequence = 1;
    withSecond.halfHours.set(28);
    mrw::StandOption withoutSecond = withSecond;
    withoutSecond.callsign = "AB123";
    withoutSecond.secondCallsign.clear();
    withoutSecond.sequence = 2;
    mrw::g_parkStands[0].options = {withoutSecond, withSecond};
    mrw::LiveAc& a = aircraft("");
    a.callsign = "AB123_";
    mrw::lf_takeOptionCallsigns({1, 20}, a);
    EXPECT_EQ(a.optionCallsign, "DLH400");
    EXPECT_EQ(a.optionCallsign2, "AB123");
    for (mrw::WeekSlot miss : {mrw::WeekSlot{1, 17}, mrw::WeekSlot{2, 20}}) {
        mrw::LiveAc& b = aircraft("");
        b.callsign = "AB123";
        mrw::lf_takeOptionCallsigns(miss, b);
        EXPECT_EQ(b.optionCallsign, "") << "window 7 to 27 misses slot 28; another weekday";
        EXPECT_EQ(b.optionCallsign2, "");
    }
}

}  // namespace
}  // namespace mrwtest

#include "airports/stand.h"
#include "support/half_hours.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "airports/park_airport_data.h"
#include "airports_test_support.h"
#include "foundation/window_model.h"

namespace mrw {
namespace {

Stand plainStand(std::int16_t type = 9) {
    return Stand({}, "A1", 52.3086, 4.7639, 0.0, 20.0, type, false, false, false);
}

using mrwtest::slots;

class StandTest : public mrwtest::AirportsDataTest {};

TEST(StandCategories, EachParkingTypeAcceptsItsCategories) {
    // Letters: L Light, B Buzjets, G Large, H Heavy, P HighPerf, R Rotorcraft.
    const struct {
        int type;
        const char* accepted;
    } cases[] = {{-1, ""},   {0, ""},        {1, "L"}, {2, "L"},   {3, "LBP"}, {4, "BG"},
                 {5, "GH"},  {6, "GH"},      {7, "P"}, {8, "BG"},  {9, "G"},   {10, "H"},
                 {11, "LR"}, {12, "LBGHPR"}, {13, ""}, {14, "LP"}, {15, "GH"}, {16, ""}};
    const std::pair<AcCategory, char> categories[] = {
        {AcCategory::Light, 'L'}, {AcCategory::Buzjets, 'B'},  {AcCategory::Large, 'G'},
        {AcCategory::Heavy, 'H'}, {AcCategory::HighPerf, 'P'}, {AcCategory::Rotorcraft, 'R'}};
    for (const auto& c : cases) {
        const Stand stand = plainStand(static_cast<std::int16_t>(c.type));
        for (const auto& [category, letter] : categories) {
            EXPECT_EQ(stand.acceptsClass(category), std::string(c.accepted).find(letter) != std::string::npos)
                << "type " << c.type << " category " << letter;
        }
    }
}

TEST(StandConstruction, RadiusInNauticalMilesAndEverythingElseCleared) {
    std::vector<StandOption> options(2);
    const Stand stand(std::move(options), "B12", 51.4775, -0.4614, 1.5, 18.52, 5, true, false, true);
    EXPECT_NEAR(stand.radius, 0.01, 1e-12);
    EXPECT_EQ(stand.options.size(), 2U);
    EXPECT_EQ(stand.id, "B12");
    EXPECT_DOUBLE_EQ(stand.heading, 1.5);
    EXPECT_EQ(stand.type, 5);
    EXPECT_TRUE(stand.cargo);
    EXPECT_FALSE(stand.ramp);
    EXPECT_TRUE(stand.heli);
    EXPECT_EQ(stand.number, 0);
    EXPECT_TRUE(stand.overlaps.empty());
    EXPECT_GE(stand.overlaps.capacity(), 8U);
    for (bool flag : {stand.manual, stand.radiusChanged, stand.cargoChanged, stand.planned, stand.occupied,
                      stand.excluded, stand.blocked}) {
        EXPECT_FALSE(flag);
    }
}

TEST_F(StandTest, AddOptionRecordsALearnedUseAndCountsIt) {
    Stand stand = plainStand();
    const AcDesignation klm{gf_airlineIndex("KLM"), 0, gf_modelIndex("B738"), 0, 0};
    EXPECT_EQ(stand.addOption(klm, {3, 14}, "KLM123_", "PH-BXA", true), 1);
    ASSERT_EQ(stand.options.size(), 1U);
    const StandOption& option = stand.options[0];
    EXPECT_EQ(option.designation, klm);
    EXPECT_EQ(option.registration, "PH-BXA");
    EXPECT_EQ(option.callsign, "KLM123");
    EXPECT_EQ(option.secondCallsign, "");
    EXPECT_EQ(option.halfHours, slots({14}));
    EXPECT_EQ(option.sequence, 1);
    EXPECT_EQ(option.day, 3);
    EXPECT_EQ(option.origin, 0);
    EXPECT_EQ(option.real, 1);
    EXPECT_TRUE(option.cpl);
    EXPECT_EQ(g_optionCount, 1);
    EXPECT_EQ(g_mainWindow().updatesCount.load(), 1);
}

TEST_F(StandTest, AddOptionRefusesEmptyRegistrationAndKnownUse) {
    Stand stand = plainStand();
    EXPECT_EQ(stand.addOption({}, {1, 10}, "KLM1", "", false), std::nullopt);
    EXPECT_EQ(g_optionCount, 0);
    EXPECT_EQ(stand.addOption({}, {1, 10}, "KLM1", "PH-BXA", false), 1);
    EXPECT_EQ(stand.addOption({}, {1, 10}, "KLM2", "PH-BXA", false), std::nullopt);
    // Another day, another half hour, another aircraft: new uses, numbered on.
    EXPECT_EQ(stand.addOption({}, {2, 10}, "KLM1", "PH-BXA", false), 2);
    EXPECT_EQ(stand.addOption({}, {1, 11}, "KLM1", "PH-BXA", false), 3);
    EXPECT_EQ(stand.addOption({}, {1, 10}, "KLM1", "PH-BXB", false), 4);
    // A use that has grown beyond its first half hour no longer equals a one-half-hour use.
    HalfHourList back = gf_halfHoursBack({1, 12}, 3);
    ASSERT_TRUE(stand.updateOptions(back, 1));
    EXPECT_EQ(stand.addOption({}, {1, 10}, "KLM1", "PH-BXA", false), 5);
    EXPECT_EQ(g_optionCount, 5);
}

TEST_F(StandTest, AddOptionThrowsForAHalfHourOutsideTheDay) {
    Stand stand = plainStand();
    EXPECT_THROW(stand.addOption({}, {1, 48}, "KLM1", "PH-BXA", false), std::out_of_range);
    EXPECT_THROW(stand.addOption({}, {1, -1}, "KLM1", "PH-BXA", false), std::out_of_range);
    EXPECT_TRUE(stand.options.empty());
    EXPECT_EQ(g_optionCount, 0);
}

TEST_F(StandTest, AddOptionTakesTheDatabaseDesignationOfAListedRegistration) {
    const AcDesignation listed{gf_airlineIndex("KLM"), 0, gf_modelIndex("B738"), 0, 1};
    g_dbaseRecords() = {DbaseRecord{"PH-BXA", listed}};
    const AcDesignation seen{gf_airlineIndex("TRA"), 0, gf_modelIndex("B737"), 0, 0};
    const AcDesignation seenFromDbase{gf_airlineIndex("TRA"), 0, gf_modelIndex("B737"), 0, 1};

    Stand stand = plainStand();
    stand.addOption(seen, {1, 1}, "KLM1", "PHBXA", false);  // found by its hyphenated variant
    stand.addOption(seen, {1, 2}, "TRA1", "PH-HZA", false);
    stand.addOption(seenFromDbase, {1, 3}, "KLM1", "PH-BXA", false);
    ASSERT_EQ(stand.options.size(), 3U);
    EXPECT_EQ(stand.options[0].designation, listed);
    EXPECT_EQ(stand.options[1].designation, seen);
    EXPECT_EQ(stand.options[2].designation, seenFromDbase);
}

TEST_F(StandTest, UpdateOptionCallsignKeepsFirstAndLatestOtherCallsign) {
    Stand stand = plainStand();
    stand.addOption({}, {1, 1}, "KLM123", "PH-BXA", false);
    stand.addOption({}, {1, 2}, "", "PH-BXB", false);
    const struct {
        std::int32_t sequence;
        const char* callsign;
        const char* first;
        const char* second;
    } steps[] = {
        {1, "KLM123_", "KLM123", ""},      {1, "", "KLM123", ""},
        {1, "KLM124", "KLM123", "KLM124"}, {1, "KLM124", "KLM123", "KLM124"},
        {1, "KLM125", "KLM123", "KLM125"}, {1, "KLM123", "KLM123", "KLM125"},
        {9, "KLM126", "KLM123", "KLM125"}, {0, "KLM126", "KLM123", "KLM125"},
    };
    for (const auto& step : steps) {
        stand.updateOptionCallsign(step.sequence, step.callsign);
        EXPECT_EQ(stand.options[0].callsign, step.first) << step.callsign;
        EXPECT_EQ(stand.options[0].secondCallsign, step.second) << step.callsign;
    }
    stand.updateOptionCallsign(2, "KLM7_");
    EXPECT_EQ(stand.options[1].callsign, "KLM7");
    EXPECT_EQ(stand.options[1].secondCallsign, "");
}

TEST(HalfHoursBack, CountsBackAcrossMidnight) {
    const HalfHourList list = gf_halfHoursBack({5, 1}, 4);
    EXPECT_EQ(list, (HalfHourList{1, 0, 47, 46}));
    EXPECT_GE(list.capacity(), 12U);
    EXPECT_EQ(gf_halfHoursBack({1, 30}, 1), HalfHourList{30});
    EXPECT_TRUE(gf_halfHoursBack({1, 30}, 0).empty());
    HalfHourList appended{7};
    gf_appendHalfHoursBack(appended, 3, {7, 47});
    EXPECT_EQ(appended, (HalfHourList{7, 47, 46, 45}));
}

TEST_F(StandTest, UpdateOptionsExtendsOneUseFromTheList) {
    Stand stand = plainStand();
    stand.addOption({}, {2, 20}, "KLM1", "PH-BXA", false);
    HalfHourList list = gf_halfHoursBack({2, 20}, 4);
    EXPECT_FALSE(stand.updateOptions(list, 2));
    EXPECT_EQ(list.size(), 4U);
    EXPECT_TRUE(stand.updateOptions(list, 1));
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(stand.options[0].halfHours, slots({17, 18, 19, 20}));
}

TEST_F(StandTest, UpdateOptionsStopsAtASlotOutsideTheDay) {
    Stand stand = plainStand();
    stand.addOption({}, {2, 20}, "KLM1", "PH-BXA", false);
    HalfHourList list{21, 48, 5};
    EXPECT_FALSE(stand.updateOptions(list, 1));
    EXPECT_EQ(stand.options[0].halfHours, slots({5, 20}));
    EXPECT_NE(folder.logText().find("==> updateOptions exception:"), std::string::npos);

    stand.addOption({}, {3, 0}, "KLM1", "PH-BXA", false);
    HalfHourList wrapped{0, -1, 46};
    EXPECT_FALSE(stand.updateOptionsWrapped(wrapped, 1, 2));
    EXPECT_EQ(stand.options[0].halfHours, slots({5, 20, 46}));
    EXPECT_NE(folder.logText().find("==> updateOptionsWrapped exception:"), std::string::npos);
}

TEST_F(StandTest, UpdateOptionsWrappedSharesTheListBetweenYesterdayAndToday) {
    Stand stand = plainStand();
    stand.addOption({}, {4, 46}, "KLM1", "PH-BXA", false);  // yesterday
    stand.addOption({}, {5, 1}, "KLM1", "PH-BXA", false);   // today
    HalfHourList list = gf_halfHoursBack({5, 1}, 4);
    EXPECT_TRUE(stand.updateOptionsWrapped(list, 1, 2));
    EXPECT_EQ(stand.options[0].halfHours, slots({46, 47}));
    EXPECT_EQ(stand.options[1].halfHours, slots({0, 1}));
    EXPECT_EQ(list, HalfHourList{1});

    // A span beginning at midnight: yesterday gets nothing, today nothing more.
    HalfHourList midnight{0};
    EXPECT_TRUE(stand.updateOptionsWrapped(midnight, 1, 2));
    EXPECT_EQ(stand.options[0].halfHours, slots({46, 47}));
    EXPECT_EQ(stand.options[1].halfHours, slots({0, 1}));
    EXPECT_EQ(midnight, HalfHourList{0});
}

TEST_F(StandTest, UpdateOptionsWrappedWithoutOneOfTheUses) {
    Stand stand = plainStand();
    stand.addOption({}, {4, 46}, "KLM1", "PH-BXA", false);
    HalfHourList list = gf_halfHoursBack({5, 1}, 4);
    EXPECT_FALSE(stand.updateOptionsWrapped(list, 7, 1));
    EXPECT_EQ(list.size(), 4U);
    EXPECT_EQ(stand.options[0].halfHours, slots({46}));
    // Without today's use, yesterday still gets its half hours, but the result is false.
    EXPECT_FALSE(stand.updateOptionsWrapped(list, 1, 7));
    EXPECT_EQ(stand.options[0].halfHours, slots({46, 47}));
    EXPECT_EQ(list, (HalfHourList{1, 0}));
}

}  // namespace
}  // namespace mrw

#include "config/parameter_catalogue.h"

#include "config/parameter_registries.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace mrw {
namespace {

// The names of every registered setting in walk order: registry 1, 2, 3, 4, 5, 6.
std::vector<std::string> lf_registeredNames() {
    std::vector<std::string> names;
    const auto add = [&](const auto& registry) {
        for (const auto* p : registry)
            names.push_back(p->name);
    };
    add(g_boolParameters());
    add(g_checkBoxParameters());
    add(g_intParameters());
    add(g_intComboParameters());
    add(g_stringParameters());
    add(g_controlStringParameters());
    return names;
}

TEST(ParameterCatalogue, RegistriesHoldTheSixtyOneSettingsInOrder) {
    const std::vector<std::string> expected{"RANDOM",
                                            "ALWAYS_ON_TOP",
                                            "OBJECTID_LIST",
                                            "NAV_LIGHTS_WHILE_PARKED",
                                            "AEROWINX",
                                            "GUID_CHANGES",
                                            "SCAN_LIVERIES",
                                            "LIG_AUTOMATIC",
                                            "LIG_PRIORITIZE",
                                            "SCAN_AIRPORTS",
                                            "LIGHT_AIRCRAFT",
                                            "HELICOPTERS",
                                            "HIGH_PERF_AIRCRAFT",
                                            "AUTO_RANGE",
                                            "AIRBORNE_ONLY",
                                            "COLLISION_USER_GND",
                                            "COLLISION_USER_AIR",
                                            "COLLISION_LIVE_PARKED_GND",
                                            "STRAIGHT_PBS_ONLY",
                                            "INITIAL_LOAD_ONLY",
                                            "WEEK",
                                            "PARK_SOFT",
                                            "MAIN_WINDOW_X",
                                            "MAIN_WINDOW_Y",
                                            "LAST_EPOCH_TIME:",
                                            "CUSTOM_PARKING_PERCENTAGE",
                                            "HOLDING_THRESHOLD_METERS",
                                            "MAX_HOLDING_MINUTES",
                                            "MAX_FIT",
                                            "MATCHING_DEPTH",
                                            "RANGE",
                                            "AR_ABOVE_HEIGHT",
                                            "MAX_PARK_SEL",
                                            "MAX_LIVE_SEL",
                                            "AIRP_RANGE",
                                            "AIRP_HEIGHT",
                                            "PROGRAM_VERSION",
                                            "MSFS_INSTALL_PATH",
                                            "PORT_NUMBER",
                                            "RT_IP_ADDRESS",
                                            "lfolder0",
                                            "lfolder1",
                                            "lfolder2",
                                            "lfolder3",
                                            "lfolder4",
                                            "lfolder5",
                                            "lfolder6",
                                            "lfolder7",
                                            "lfolder8",
                                            "lfolder9",
                                            "AIG_VERSION",
                                            "DBASE_VERSION",
                                            "AIRPORTS_VERSION",
                                            "LIV_SCAN_VERSION",
                                            "ADDONS_SCAN_VERSION",
                                            "DUDIDUDEVI24_VERSION",
                                            "MSFS_2024_INSTALL_PATH",
                                            "AI_PACKAGE_SELECTOR",
                                            "DESTINATION",
                                            "BLOCK_CALLSIGN",
                                            "SIM_CHOICE"};
    EXPECT_EQ(expected.size(), 61u);
    EXPECT_EQ(lf_registeredNames(), expected);
    // The window position lives in the main-window object, not in the catalogue.
    EXPECT_EQ(g_intParameters()[0], &g_parameters().mainWindowX);
    EXPECT_EQ(g_intParameters()[1], &g_parameters().mainWindowY);
}

TEST(ParameterCatalogue, UnregisteredSettingsStayOutOfEveryRegistry) {
    const auto names = lf_registeredNames();
    const std::set<std::string> registered(names.begin(), names.end());
    EXPECT_EQ(registered.size(), names.size()) << "a setting stands in two registries";
    const ParameterCatalogue& p = g_parameters();
    for (const std::string* name : {&p.ALL_INSTALL_PATH.name, &p.MAX_FIT_FL.name, &p.parking_percentage.name,
                                    &p.CALLSIGN_2_OBJECTID.name}) {
        EXPECT_EQ(registered.count(*name), 0u) << *name;
    }
}

TEST(ParameterCatalogue, DefaultsLimitsAndBindings) {
    const ParameterCatalogue& p = g_parameters();
    EXPECT_TRUE(p.RANDOM.current);
    EXPECT_TRUE(p.RANDOM.minimum && p.RANDOM.maximum);  // a bool's four fields all take its value
    EXPECT_FALSE(p.ALWAYS_ON_TOP.current);
    EXPECT_EQ(p.ALWAYS_ON_TOP.controlId, 0x8003);
    EXPECT_EQ(p.ALWAYS_ON_TOP.rowY, 147);
    EXPECT_EQ(p.PARK_SOFT.controlId, 0x8054);
    EXPECT_EQ(p.LAST_EPOCH_TIME.maximum, 2147483647);
    EXPECT_EQ(p.CUSTOM_PARKING_PERCENTAGE.current, -1);
    EXPECT_EQ(g_parameters().mainWindowX.current, 400);
    EXPECT_EQ(g_parameters().mainWindowY.minimum, -30000);
    // A combo's limits are its first and last choice.
    EXPECT_EQ(p.RANGE.minimum, 2);
    EXPECT_EQ(p.RANGE.maximum, 100);
    EXPECT_EQ(p.RANGE.choices.size(), 20u);
    EXPECT_EQ(p.AR_ABOVE_HEIGHT.choices.size(), 11u);
    EXPECT_EQ(p.AIRP_HEIGHT.choices.size(), 11u);
    EXPECT_EQ(p.AIRP_HEIGHT.choices[9], 36000);
    EXPECT_EQ(p.parking_percentage.choices.size(), 21u);
    EXPECT_EQ(p.parking_percentage.current, 30);
    EXPECT_FLOAT_EQ(p.MAX_FIT_FL.current, 24.0f);
    EXPECT_FLOAT_EQ(p.MAX_FIT_FL.minimum, 0.5f);
    EXPECT_FLOAT_EQ(p.MAX_FIT_FL.maximum, 24.0f);
    EXPECT_EQ(p.MAX_FIT_FL.choices.size(), 20u);
    EXPECT_EQ(p.PORT_NUMBER.current.get(), "10747");
    EXPECT_EQ(p.RT_IP_ADDRESS.current.get(), "127.0.0.1");
    EXPECT_EQ(p.SIM_CHOICE.current.get(), "MSFS 2020");
    EXPECT_EQ(p.SIM_CHOICE.controlId, 0x8015);
    EXPECT_EQ(p.AI_PACKAGE_SELECTOR.current.get(), "AIG, FSLTL, JF, MTL");
    EXPECT_EQ(p.AI_PACKAGE_SELECTOR.controlId, 0x8016);
    EXPECT_EQ(p.flushStaticButton.name, "Flush static");
    EXPECT_EQ(p.csToOidButton.controlId, 0x803E);
}

TEST(ParameterCatalogue, AiPackageOrderings) {
    const auto& list = g_aiPackageOrderings();
    ASSERT_EQ(list.size(), 64u);
    EXPECT_EQ(list[0], "AIG, FSLTL, JF, MTL");
    EXPECT_EQ(list[1], "AIG, FSLTL, MTL, JF");
    EXPECT_EQ(list[23], "MTL, JF, FSLTL, AIG");
    EXPECT_EQ(list[24], "AIG, FSLTL, JF");
    EXPECT_EQ(list[30], "AIG, FSLTL, MTL");  // the second 3-subset follows the first's six orderings
    EXPECT_EQ(list[47], "MTL, JF, FSLTL");
    EXPECT_EQ(list[48], "AIG, FSLTL");
    EXPECT_EQ(list[59], "MTL, JF");
    EXPECT_EQ((std::vector<std::string>(list.begin() + 60, list.end())),
              (std::vector<std::string>{"AIG", "FSLTL", "JF", "MTL"}));
    EXPECT_EQ(std::set<std::string>(list.begin(), list.end()).size(), 64u);
    EXPECT_EQ(g_parameters().AI_PACKAGE_SELECTOR.choices, list);
}

TEST(ParameterCatalogue, IndexOfCurrentIsExact) {
    StringComboParameter& selector = g_parameters().AI_PACKAGE_SELECTOR;
    const std::string before = selector.current.get();
    selector.current.set("AIG, FSLTL");
    EXPECT_EQ(selector.indexOfCurrent(), 48u);
    selector.current.set("aig, fsltl");  // differs only in letter case
    EXPECT_EQ(selector.indexOfCurrent(), std::nullopt);
    selector.current.set(before);
    EXPECT_EQ(selector.indexOfCurrent(), 0u);
}

TEST(ParameterCatalogue, DerivedGlobals) {
    EXPECT_DOUBLE_EQ(g_rangeNm.load(), 40.0);
    EXPECT_EQ(g_rangeMeters.load(), 74080u);
    std::vector<std::string> names;
    for (const std::string* name : g_apfParameterNames())
        names.push_back(*name);
    EXPECT_EQ(names, (std::vector<std::string>{"RANGE", "AUTO_RANGE", "INITIAL_LOAD_ONLY", "PARK_SOFT",
                                               "parking_percentage", "MAX_FIT", "WEEK", "MAX_LIVE_SEL"}));
    EXPECT_EQ(g_callsignChoices().copy(), std::vector<std::string>{""});
    EXPECT_EQ(g_parameters().CALLSIGN_2_OBJECTID.choices.get(), g_parameters().callsignChoices.get());
}

TEST(ParameterCatalogue, IntClampKeepsValuesInsideTheLimits) {
    const IntComboParameter& range = g_parameters().RANGE;
    EXPECT_EQ(range.clamp(500), 100);
    EXPECT_EQ(range.clamp(1), 2);
    EXPECT_EQ(range.clamp(7), 7);  // between the limits but no choice: kept
}

}  // namespace
}  // namespace mrw

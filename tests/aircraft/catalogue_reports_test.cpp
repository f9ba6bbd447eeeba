#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fmt/format.h>

#include <algorithm>
#include <string>
#include <vector>

#include "aircraft/livery_catalogue.h"
#include "catalogue_test_fixture.h"
#include "config/parameter_catalogue.h"
#include "support/recording_control_surface.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// The log's lines from the blank line the category reports start with.
std::vector<std::string> reportLines(const std::string& log) {
    const std::vector<std::string> lines = mrwtest::logLinesWithoutSettings(log);
    const auto blank = std::find(lines.begin(), lines.end(), " ");
    return blank == lines.end() ? std::vector<std::string>{}
                                : std::vector<std::string>(blank + 1, lines.end());
}

// A check box for each of the three category settings, as the main window creates them.
class CatalogueReportsTest : public mrwtest::CatalogueTest {
  protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        for (mrw::CheckBoxParameter* parameter : checkBoxParameters())
            controls.bind(*parameter);
    }
    static std::vector<mrw::CheckBoxParameter*> checkBoxParameters() {
        auto& p = mrw::g_parameters();
        return {&p.LIGHT_AIRCRAFT, &p.HIGH_PERF_AIRCRAFT, &p.HELICOPTERS};
    }
    bool enabled(const mrw::CheckBoxParameter& parameter) { return controls.control(parameter).enabled; }

    mrwtest::RecordingControlSurface controls;
};

TEST_F(CatalogueReportsTest, CategoriesWithoutLiveriesAreSwitchedOffOnce) {
    auto& parameters = mrw::g_parameters();
    parameters.HIGH_PERF_AIRCRAFT.current.store(false);  // already off: only its category line
    buildCatalogue(
        {{"AAA", "", "A320", false, "Alpha A320", ""}, {"BBB", "", "A320", true, "Beta A320 Freighter", ""}});

    EXPECT_THAT(
        reportLines(folder.logText()),
        ElementsAre(
            "Category Light: No livery found",
            "LIGHT_AIRCRAFT temporarily switched off because you do not have light aircraft installed",
            "Category Buzjets: No livery found", "Category Large: 1 pax livery and 1 cargo livery", "  A320",
            "Category Heavy: No livery found", "Category HighPerf: No livery found",
            "Category Rotorcraft: No livery found",
            "HELICOPTERS temporarily switched off because you do not have Helicopters installed",
            "No generic liveries"));
    EXPECT_FALSE(parameters.LIGHT_AIRCRAFT.current.load());
    EXPECT_FALSE(parameters.HIGH_PERF_AIRCRAFT.current.load());
    EXPECT_FALSE(parameters.HELICOPTERS.current.load());
    EXPECT_EQ(mrwtest::storedSetting("LIGHT_AIRCRAFT"), "false");
    EXPECT_EQ(mrwtest::storedSetting("HELICOPTERS"), "false");
    for (mrw::CheckBoxParameter* parameter : checkBoxParameters()) {
        EXPECT_FALSE(enabled(*parameter)) << parameter->name;
    }
}

// A later start-up with rotorcraft liveries reports them but leaves the switched-off setting off.
TEST_F(CatalogueReportsTest, CategoryWithLiveriesKeepsTheSettingAsItIs) {
    mrw::g_parameters().HELICOPTERS.current.store(false);
    controls.control(mrw::g_parameters().HELICOPTERS).enabled = false;  // as an earlier start-up left it
    buildCatalogue({{"PVT", "", "R44", false, "Private R44", ""}});
    EXPECT_THAT(folder.logText(), HasSubstr("Category Rotorcraft: 1 pax livery\n  R44\n"));
    EXPECT_THAT(folder.logText(), Not(HasSubstr("HELICOPTERS temporarily switched off")));
    EXPECT_FALSE(mrw::g_parameters().HELICOPTERS.current.load());
    EXPECT_TRUE(enabled(mrw::g_parameters().HELICOPTERS));
    EXPECT_FALSE(enabled(mrw::g_parameters().LIGHT_AIRCRAFT));
}

TEST_F(CatalogueReportsTest, ModelLinesHoldTwentyCodes) {
    std::vector<mrwtest::FixtureLivery> liveries;
    std::vector<std::string> codes;
    for (int i = 1; i <= 21; ++i) {
        codes.push_back(fmt::format("LA{:02}", i));
        liveries.push_back({"PVT", "", codes.back(), false, "Private " + codes.back(), ""});
    }
    liveries.push_back({"ZZZ", "", "B738", false, "Generic B738", ""});
    liveries.push_back({"ZZZ", "", "A320", true, "Generic A320 Freighter", ""});
    buildCatalogue(liveries);

    std::string first = "  ";
    for (int i = 0; i < 20; ++i)
        first += codes[static_cast<std::size_t>(i)] + (i < 19 ? "," : "");
    EXPECT_THAT(folder.logText(),
                HasSubstr(fmt::format("Category Light: 21 pax liveries\n{}\n  LA21\n", first)));
    std::vector<mrw::CodeIndex> expected;
    for (const std::string& code : codes)
        expected.push_back(mrwtest::modelIndex(code));
    EXPECT_EQ(mrw::g_lightModels(), expected);
    // Generic models in index order (A320 was interned before B738 by the database fixture).
    EXPECT_THAT(folder.logText(), HasSubstr("2 models have a generic livery\n  A320,B738\n"));
}

}  // namespace

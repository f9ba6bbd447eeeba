#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <pugixml.hpp>

#include "airports/learned_airport_files.h"
#include "airports/park_airport_data.h"
#include "airports/park_airport_file.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/log.h"
#include "foundation/window_model.h"
#include "park_test_support.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::apfText;
using mrwtest::writeFile;

const std::string kAirportStands =
    R"(<parkpos id="A1" latitude="52.3000" longitude="4.7600" radius="20" type="9">
         <opt reg="PH-BXA" airl="KLM" type="B738" day="1" hh="16:22" cs="KLM1"/></parkpos>
       <parkpos id="A2" latitude="52.3003" longitude="4.7600" radius="20" type="9"/>)";

const std::string kLearnedStands =
    R"(<parkpos id="A1" radius_change="true" radius="30.0" cargo_change="true" cargo="true">
         <opt reg="PH-BXA" airl="KLM" type="B738" day="1" hh="14:19" cs="KLM1"/>
         <opt reg="PH-BXA" airl="KLM" type="B738" soft="true" day="1" hh="14:19"/>
         <opt reg="PH-BXA" airl="KLM" type="B738" day="1" hh=""/></parkpos>
       <parkpos id="Z9"><opt reg="PH-BXB" airl="KLM" type="B738" day="2" hh="10:12" cs="KLM9"/></parkpos>
       <parkpos id=" M1 " manual="true" latitude="52.301" longitude="4.761" radius="20" type="9">
         <opt reg="PH-BXC" airl="KLM" type="B738" day="3" hh="20"/></parkpos>
       <parkpos id="M2" manual="true" latitude="0.00005" longitude="0" radius="20"/>
       <parkpos id="A2" manual="true" latitude="52.3" longitude="4.76" radius="20"/>
       <parkpos id="  " manual="true" latitude="52.3" longitude="4.76" radius="20"/>)";

const Stand* standOf(const std::string& id) {
    for (const Stand& stand : g_parkStands)
        if (stand.id == id) return &stand;
    return nullptr;
}

class LearnedFileTest : public mrwtest::ParkAirportTest {
  protected:
    void SetUp() override {
        ParkAirportTest::SetUp();
        writeFile(
            "airports/my_simaddon/EHAM.xml",
            apfText("12.6.0", {{"airport_name", "Schiphol"}, {"publisher", "simaddon"}, {"altitude", "-11"}},
                    kAirportStands));
    }
    void writeLearned(const std::string& version,
                      std::initializer_list<std::pair<const char*, std::string>> parameters,
                      const std::string& stands) {
        writeFile(kLearned, apfText(version, parameters, stands));
    }
    const fs::path kLearned{"airports/learned/simaddon/EHAM.xml"};
};

TEST_F(LearnedFileTest, PerAirportSettingsReachTheParametersAndControls) {
    writeLearned("12.6.0",
                 {{"airport_name", "Schiphol"},
                  {"RANGE", "20"},
                  {"AUTO_RANGE", "false"},
                  {"WEEK", "true"},
                  {"PARK_SOFT", "true"},
                  {"parking_percentage", "250"},
                  {"INITIAL_LOAD_ONLY", "true"},
                  {"MAX_FIT", "23"},
                  {"MAX_LIVE_SEL", "50"}},
                 "");
    ASSERT_EQ(readParkFile(), "");
    auto& s = g_parameters();
    EXPECT_EQ(s.RANGE.current, 20);
    EXPECT_EQ(g_rangeNm.load(), 20.0);
    EXPECT_EQ(g_rangeMeters.load(), 37040u);
    EXPECT_EQ(window.selection(s.RANGE), "20");
    EXPECT_TRUE(window.enabled(s.RANGE));
    EXPECT_FALSE(s.AUTO_RANGE.current);
    EXPECT_FALSE(window.checked(s.AUTO_RANGE));
    EXPECT_TRUE(s.WEEK.current && window.checked(s.WEEK));
    EXPECT_TRUE(s.PARK_SOFT.current && window.checked(s.PARK_SOFT));
    // Clamped to the setting's limit, and selected exactly (not "10" for 100 by prefix).
    EXPECT_EQ(s.parking_percentage.current, 100);
    EXPECT_EQ(window.selection(s.parking_percentage), "100");
    EXPECT_TRUE(s.INITIAL_LOAD_ONLY.current && window.checked(s.INITIAL_LOAD_ONLY));
    EXPECT_FALSE(window.enabled(s.nowButton));
    EXPECT_EQ(s.MAX_FIT.current, 23);
    EXPECT_EQ(s.MAX_FIT_FL.current, 12.0f);
    EXPECT_EQ(window.selection(s.MAX_FIT_FL), "12.0");
    EXPECT_EQ(s.MAX_LIVE_SEL.current, 50);
    EXPECT_EQ(window.selection(s.MAX_LIVE_SEL), "50");
    const std::string text = log();
    EXPECT_NE(text.find("Read from learned airport file: '" + mrwtest::nativePath("airports/learned/simaddon/EHAM.xml") + "'"),
              std::string::npos);
    EXPECT_NE(text.find("MAX_FIT                 : 23 (max number of half hours, is 12.0 hrs decimal)"),
              std::string::npos);
    EXPECT_NE(text.find("RANGE                   : 20"), std::string::npos);
    // None of these values is saved while the airport is the park airport.
    EXPECT_EQ(mrwtest::parametersText().find("\"RANGE\""), std::string::npos);
}

TEST_F(LearnedFileTest, MissingPercentageGivesThirtyAndAutoRangeDisablesTheRange) {
    g_parameters().parking_percentage.current = 75;
    gf_setAutoRangeInputs({true, std::nullopt, std::nullopt, std::nullopt});
    writeLearned("12.6.0", {{"airport_name", "Schiphol"}, {"AUTO_RANGE", "true"}}, "");
    ASSERT_EQ(readParkFile(), "");
    auto& s = g_parameters();
    EXPECT_EQ(s.parking_percentage.current, 30);
    EXPECT_EQ(window.selection(s.parking_percentage), "30");
    EXPECT_TRUE(window.checked(s.AUTO_RANGE));
    EXPECT_FALSE(window.enabled(s.RANGE));
    EXPECT_EQ(s.RANGE.current, 10);  // on the ground
}

TEST_F(LearnedFileTest, LearnedStandsAreMergedIntoTheAirportsStands) {
    writeLearned("12.6.0", {{"airport_name", "Schiphol"}}, kLearnedStands);
    ASSERT_EQ(readParkFile(), "");
    const Stand* a1 = standOf("A1");
    ASSERT_NE(a1, nullptr);
    EXPECT_NEAR(a1->radius * 1852.0, 30.0, 1e-9);
    EXPECT_TRUE(a1->radiusChanged);
    EXPECT_TRUE(a1->cargo && a1->cargoChanged);
    // The real Monday use overlaps the file's 16:22 use; the soft one is new.
    ASSERT_EQ(a1->options.size(), 2u);
    EXPECT_EQ(a1->options[1].real, 0);
    EXPECT_EQ(a1->options[1].origin, 0);
    EXPECT_EQ(a1->options[1].sequence, 2);
    const std::string text = log();
    EXPECT_NE(text.find("learned A1: day:1 14,15,16,17,18,19"), std::string::npos);
    EXPECT_NE(text.find("already in airport file"), std::string::npos);
    EXPECT_NE(text.find("empty bit set"), std::string::npos);

    const Stand* m1 = standOf("M1");
    ASSERT_NE(m1, nullptr);
    EXPECT_TRUE(m1->manual);
    ASSERT_EQ(m1->options.size(), 1u);
    EXPECT_EQ(m1->options[0].origin, 0);
    EXPECT_EQ(standOf("M2"), nullptr);
    EXPECT_NE(text.find("manually created standid M2 misses correct attributes in"), std::string::npos);
    EXPECT_NE(text.find("manually created standid A2 already exists in"), std::string::npos);
    EXPECT_NE(text.find("manually created stand without id in"), std::string::npos);
    EXPECT_NE(text.find("learned stand Z9 in " + mrwtest::nativePath("airports/learned/simaddon/EHAM.xml") + " not found?"),
              std::string::npos);
    EXPECT_EQ(standOf("Z9"), nullptr);
    EXPECT_EQ(g_parkStands.size(), 3u);
    EXPECT_EQ(g_parkStands.back().number, 3);
}

// Learned uses count from 11.10.0 on; older files (and files of no readable version, such as a
// text far longer than any version) keep their settings and stand changes but not their uses.
TEST_F(LearnedFileTest, VersionDecidesWhetherTheUsesAreKept) {
    const struct {
        std::string version;
        bool usesKept;
    } cases[] = {{"11.9.5", false}, {"", false},      {"11.9.9", false},
                 {"11.10.0", true}, {"12.6.0", true}, {"1.1." + std::string(25000, '3'), false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version.substr(0, 12));
        gf_clearStands();
        gf_openLog();  // a fresh Log.txt for this case
        writeLearned(c.version, {{"airport_name", "Schiphol"}, {"RANGE", "25"}}, kLearnedStands);
        ASSERT_EQ(readParkFile(), "");
        const Stand* a1 = standOf("A1");
        ASSERT_NE(a1, nullptr);
        EXPECT_TRUE(a1->radiusChanged);
        EXPECT_EQ(a1->options.size(), c.usesKept ? 2u : 1u);
        EXPECT_NE(standOf("M1"), nullptr);
        EXPECT_EQ(g_parameters().RANGE.current, 25);
        EXPECT_EQ(log().find("This learned file was created with and older MRWV version than 11.10.0,") !=
                      std::string::npos,
                  !c.usesKept);
    }
}

TEST_F(LearnedFileTest, HandmadeFileReplacesTheStandsWhateverItsValue) {
    writeLearned("12.6.0", {{"airport_name", "Schiphol"}, {"handmade", "false"}},
                 R"(<parkpos id="H1" latitude="52.31" longitude="4.77" radius="25" type="9">
                      <opt reg="PH-BXD" airl="KLM" type="B738" day="4" hh="10:11"/></parkpos>)");
    ASSERT_EQ(readParkFile(), "");
    EXPECT_TRUE(g_handmade);
    ASSERT_EQ(g_parkStands.size(), 1u);
    EXPECT_EQ(g_parkStands[0].id, "H1");
    EXPECT_EQ(g_parkStands[0].options[0].origin, 1);
    EXPECT_EQ(g_mainWindow().parkHandmade.load(), 1);
    const std::string text = log();
    EXPECT_NE(text.find("A handmade airport file overruled the archived file!"), std::string::npos);
    EXPECT_NE(text.find("Airport file read from '" + mrwtest::nativePath("airports/learned/simaddon/EHAM.xml") + "' for Schiphol"),
              std::string::npos);
}

TEST_F(LearnedFileTest, UnreadableFileIsKeptAsGenerationZero) {
    writeFile(kLearned, "<root><parameters>");
    ASSERT_EQ(readParkFile(), "");
    EXPECT_TRUE(fs::exists("airports/learned/simaddon/EHAM0.xml"));
    EXPECT_NE(log().find("found, but could not be loaded, saved as *.0.xml"), std::string::npos);
    EXPECT_EQ(g_parkStands.size(), 2u);
    EXPECT_EQ(standOf("A1")->options.size(), 1u);
}

TEST_F(LearnedFileTest, DifferentAirportNameIsShownAsWarning) {
    writeLearned("12.6.0", {{"airport_name", "Old Schiphol"}}, "");
    ASSERT_EQ(readParkFile(), "");
    EXPECT_NE(
        log().find("Warning: learned file airport name: 'Old Schiphol' differs from archived file airport "
                   "name: 'Schiphol'"),
        std::string::npos);
}

}  // namespace
}  // namespace mrw

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/learned_airport_files.h"
#include "airports/park_airport_data.h"
#include "airports/park_airport_file.h"
#include "airports/park_test_support.h"
#include "foundation/text_encoding.h"
#include "traffic/parking/learned_files_saver.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;

StandOption use(std::int32_t origin, std::int32_t sequence, const char* registration) {
    StandOption option;
    option.registration = registration;
    option.callsign = "KLM1";
    option.halfHours.set(20);
    option.sequence = sequence;
    option.day = 2;
    option.origin = origin;
    return option;
}

Stand stand(const char* id, std::vector<StandOption> options) {
    return Stand(std::move(options), id, 52.3, 4.76, 0.0, 20.0, 9, false, false, false);
}

class LearnedFilesSaverTest : public mrwtest::ParkAirportTest {
  protected:
    void SetUp() override {
        ParkAirportTest::SetUp();
        g_parkApfInfo = ApfInfo{"Schiphol", "stock", -11};
        g_parkStands = {stand("FILE", {use(1, 1, "PH-AAA")}),
                        stand("LEARNED", {use(1, 1, "PH-AAA"), use(0, 2, "PH-BBB")}),
                        stand("OFF", {use(0, 0, "PH-CCC")}), stand("BIG", {})};
        g_parkStands[3].radiusChanged = true;
        g_optionCount = 3;
    }
    static pugi::xml_node parkpositions(pugi::xml_document& document, const fs::path& path) {
        EXPECT_TRUE(document.load_file(path.c_str())) << path;
        return document.child("root").child("parkpositions");
    }
};

// A path as Log.txt shows it: with the system's separator (a backslash on Windows).
std::string lf_asLogged(const char* path) {
    return path_to_utf8(fs::path(path).make_preferred());
}

TEST_F(LearnedFilesSaverTest, PublisherChoosesTheFolder) {
    struct Case {
        const char* publisher;
        const char* path;
    };
    const Case cases[] = {
        {"stock", "airports/learned/stock/EHAM.xml"},
        {"simaddon", "airports/learned/simaddon/EHAM.xml"},
        {"Some Pub", "airports/learned/thirdparty/Some Pub/EHAM.xml"},
        {"Orbx\\EU", "airports/learned/thirdparty/Orbx EU/EHAM.xml"},
        {"../x", "airports/learned/thirdparty/.. x/EHAM.xml"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.publisher);
        g_parkApfInfo.publisher = c.publisher;
        g_optionCount = 3;
        lf_saveLearnedFiles();
        EXPECT_TRUE(fs::exists(c.path));
        EXPECT_EQ(g_optionCount, 0);
        EXPECT_NE(log().find(fmt::format(" '{}' saved with 3 updates", lf_asLogged(c.path))),
                  std::string::npos);
    }
    // "../x" stayed inside airports/learned.
    EXPECT_FALSE(fs::exists("airports/x"));
    EXPECT_FALSE(fs::exists("airports/learned/x"));
}

TEST_F(LearnedFilesSaverTest, PublisherWithoutFolderNameWritesNothing) {
    for (const char* publisher : {"..", " / ", ""}) {
        SCOPED_TRACE(publisher);
        g_parkApfInfo.publisher = publisher;
        lf_saveLearnedFiles();
        EXPECT_NE(log().find(fmt::format("publisher '{}' names no folder", publisher)), std::string::npos);
    }
    EXPECT_TRUE(fs::is_empty("airports/learned/thirdparty"));
    EXPECT_FALSE(fs::exists("airports/EHAM.xml"));
    EXPECT_FALSE(fs::exists("airports/learned/EHAM.xml"));
}

TEST_F(LearnedFilesSaverTest, OnlyLearnedUsesAndChangedStandsAreWritten) {
    lf_saveLearnedFiles();
    pugi::xml_document saved;
    const pugi::xml_node stands = parkpositions(saved, "airports/learned/stock/EHAM.xml");
    std::vector<std::string> ids;
    for (const pugi::xml_node parkpos : stands.children("parkpos"))
        ids.emplace_back(parkpos.attribute("id").value());
    EXPECT_EQ(ids, (std::vector<std::string>{"LEARNED", "BIG"}));
    const pugi::xml_node learned = stands.find_child_by_attribute("id", "LEARNED");
    EXPECT_EQ(std::distance(learned.children("opt").begin(), learned.children("opt").end()), 1);
    EXPECT_STREQ(learned.child("opt").attribute("reg").value(), "PH-BBB");
    // The uses read from the airport file are gone from the stands themselves.
    EXPECT_TRUE(g_parkStands[0].options.empty());
    EXPECT_EQ(saved.child("root").child("parameters").find_child_by_attribute("name", "Qf_real"),
              pugi::xml_node());
}

TEST_F(LearnedFilesSaverTest, HandmadeFileKeepsEveryStandAndItsFactors) {
    g_handmade = true;
    lf_saveLearnedFiles();
    pugi::xml_document saved;
    const pugi::xml_node stands = parkpositions(saved, "airports/learned/stock/EHAM.xml");
    EXPECT_EQ(std::distance(stands.children("parkpos").begin(), stands.children("parkpos").end()), 4);
    EXPECT_EQ(std::distance(stands.find_child_by_attribute("id", "LEARNED").children("opt").begin(),
                            stands.find_child_by_attribute("id", "LEARNED").children("opt").end()),
              2);
    const pugi::xml_node parameters = saved.child("root").child("parameters");
    EXPECT_STREQ(parameters.find_child_by_attribute("name", "handmade").attribute("value").value(), "true");
    EXPECT_TRUE(parameters.find_child_by_attribute("name", "Qf_real"));
    EXPECT_NE(log().find(fmt::format(" handmade '{}' saved with 3 updates",
                                     lf_asLogged("airports/learned/stock/EHAM.xml"))),
              std::string::npos);
}

// A learned file is never rewritten from stands that could not all be read.
TEST_F(LearnedFilesSaverTest, IncompleteStandsAreNotSaved) {
    g_learnedStandsIncomplete = true;
    lf_saveLearnedFiles();
    gf_clearStands();
    lf_saveLearnedFiles();
    EXPECT_FALSE(fs::exists("airports/learned/stock/EHAM.xml"));
    EXPECT_NE(log().find("learned file of EHAM not saved: its stands were not read completely"),
              std::string::npos);
    EXPECT_EQ(g_optionCount, 0);
}

TEST_F(LearnedFilesSaverTest, FailedHandmadeStandListLeavesTheFileAlone) {
    gf_clearStands();
    mrwtest::writeFile(
        "airports/my_simaddon/EHAM.xml",
        mrwtest::apfText("12.6.0", {{"publisher", "simaddon"}, {"altitude", "0"}},
                         R"(<parkpos id="A1" latitude="52.3" longitude="4.76" radius="20"/>)"));
    const std::string handmade = mrwtest::apfText(
        "12.6.0", {{"handmade", "true"}},
        R"(<parkpos id="H1" latitude="52.3" longitude="4.76" radius="20"/><parkpos id="H1" latitude="52.3" longitude="4.76"/>)");
    mrwtest::writeFile("airports/learned/simaddon/EHAM.xml", handmade);
    ASSERT_EQ(readParkFile(), "");
    EXPECT_NE(log().find("lf_readLearned: 94: Stand 'H1' appears more than once."), std::string::npos);
    lf_saveLearnedFiles();
    EXPECT_EQ(mrwtest::readFile("airports/learned/simaddon/EHAM.xml"), handmade);
}

// The learned uses of a stand that the airport file no longer has survive a read and a save.
TEST_F(LearnedFilesSaverTest, UnmatchedLearnedStandIsKeptAcrossASave) {
    const fs::path learned{"airports/learned/simaddon/EHAM.xml"};
    mrwtest::writeFile(
        "airports/my_simaddon/EHAM.xml",
        mrwtest::apfText("12.6.0", {{"publisher", "simaddon"}, {"altitude", "-11"}},
                         R"(<parkpos id="A1" latitude="52.3" longitude="4.76" radius="20" type="9"/>)"));
    mrwtest::writeFile(learned,
                       mrwtest::apfText("12.6.0", {},
                                        R"(<parkpos id="Z9"><opt reg="PH-BXB" airl="KLM" type="B738" day="2"
                                                      hh="10:12" cs="KLM9"/></parkpos>)"));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        gf_clearStands();
        ASSERT_EQ(readParkFile(), "");
        lf_saveLearnedFiles();
        pugi::xml_document saved;
        const pugi::xml_node z9 = parkpositions(saved, learned).find_child_by_attribute("id", "Z9");
        ASSERT_TRUE(z9);
        EXPECT_STREQ(z9.child("opt").attribute("reg").value(), "PH-BXB");
        EXPECT_STREQ(z9.child("opt").attribute("hh").value(), "10:12");
        EXPECT_STREQ(z9.child("opt").attribute("cs").value(), "KLM9");
        EXPECT_FALSE(z9.attribute("latitude"));
    }
}

}  // namespace
}  // namespace mrw

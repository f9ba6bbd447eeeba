#include <fmt/format.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "airports/airports_database.h"
#include "airports_test_support.h"
#include "foundation/geometry.h"

namespace mrw {
namespace {

constexpr double kFeetPerNm = 6076.115485564304;
const Lalo kUser{52.0, 4.0};

Airport airportAt(const char* code, double distanceNm, double bearingRad) {
    const Lalo position = gf_destinationPoint(kUser, bearingRad, distanceNm * kFeetPerNm);
    return Airport{FixedCode<4>(code), g_noIataCode, position.latitude, position.longitude, 0.0F, 1};
}

// Records which airports' files were asked for, and answers with fixed stand distances.
struct StandFiles {
    std::vector<std::string> asked;
    double distanceOf(FixedCode<4> code) const { return code == "AAAA" ? aaaa : bbbb; }
    double aaaa = 100.0;
    double bbbb = 100.0;
    NearestStandDistance function() {
        return [this](FixedCode<4> code, const Lalo&, std::string& standId) {
            asked.push_back(code.str());
            standId = code.str().substr(0, 1) + "7";
            return distanceOf(code);
        };
    }
};

class ClosestAirportTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAirportsData(); }
    void TearDown() override { mrwtest::resetAirportsData(); }
    mrwtest::LoggedProgramFolder folder;
    StandFiles files;
};

TEST_F(ClosestAirportTest, NoAirportWithinFiveNauticalMiles) {
    EXPECT_EQ(gf_closestAirport(kUser, files.function()), nullptr);
    g_airports = {airportAt("AAAA", 5.01, 0.0), airportAt("BBBB", 20.0, 1.0)};
    EXPECT_EQ(gf_closestAirport(kUser, files.function()), nullptr);
    EXPECT_TRUE(files.asked.empty());
}

TEST_F(ClosestAirportTest, AirportExactlyFiveNauticalMilesAwayCounts) {
    // Due north by 5/60 degree is exactly 5 nm on the program's sphere.
    g_airports = {Airport{FixedCode<4>("AAAA"), g_noIataCode, kUser.latitude + 5.0 / 60.0, kUser.longitude}};
    ASSERT_LE(gf_distanceNm(kUser, g_airports[0].lalo()), 5.0);
    EXPECT_EQ(gf_closestAirport(kUser, files.function()), &g_airports[0]);
}

TEST_F(ClosestAirportTest, CloserAirportSortingFirstHasNoNeighbour) {
    g_airports = {airportAt("AAAA", 1.0, 0.0), airportAt("BBBB", 3.0, 2.0)};
    files.bbbb = 0.01;
    EXPECT_EQ(gf_closestAirport(kUser, files.function()), &g_airports[0]);
    EXPECT_TRUE(files.asked.empty());
    EXPECT_EQ(folder.logText().find("is closest"), std::string::npos);
}

TEST_F(ClosestAirportTest, NeighbourWinsOnlyWithAStrictlyNearerStand) {
    g_airports = {airportAt("AAAA", 3.0, 2.0), airportAt("BBBB", 1.0, 0.0), airportAt("CCCC", 30.0, 1.0)};
    const struct {
        double aaaa;
        double bbbb;
        const Airport* result;
    } cases[] = {
        {0.2, 0.5, &g_airports[0]},
        {0.5, 0.5, &g_airports[1]},
        {0.8, 0.5, &g_airports[1]},
        {100.0, 100.0, &g_airports[1]},
    };
    for (const auto& c : cases) {
        files.aaaa = c.aaaa;
        files.bbbb = c.bbbb;
        files.asked.clear();
        EXPECT_EQ(gf_closestAirport(kUser, files.function()), c.result) << c.aaaa << " " << c.bbbb;
        EXPECT_EQ(files.asked, (std::vector<std::string>{"BBBB", "AAAA"}));
    }
    const std::string log = folder.logText();
    EXPECT_NE(log.find("Airport BBBB is closest, neighbour is AAAA\n"), std::string::npos);
    EXPECT_NE(log.find("Airport BBBB is closest, but stand A7 at neighbouring airport AAAA is closer at 370 "
                       "meters ...\n"),
              std::string::npos);
}

TEST_F(ClosestAirportTest, NeighbourIsTheEarlierBestNotTheSecondClosest) {
    // In database order: 4 nm (best, then neighbour), 2 nm (best), 3 nm (not closer than 2 nm).
    g_airports = {airportAt("AAAA", 4.0, 0.0), airportAt("BBBB", 2.0, 1.0), airportAt("CCCC", 3.0, 2.0)};
    gf_closestAirport(kUser, files.function());
    EXPECT_EQ(files.asked, (std::vector<std::string>{"BBBB", "AAAA"}));
}

class IcaoInTextTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAirportsData(); }
    void TearDown() override { mrwtest::resetAirportsData(); }
    mrwtest::LoggedProgramFolder folder;
};

TEST_F(IcaoInTextTest, FindsListedCodesBoundedByNonAlphanumerics) {
    const struct {
        std::vector<const char*> listed;
        std::vector<const char*> known;
        const char* text;
        const char* code;  // nullptr: not found
    } cases[] = {
        {{"EHAM"}, {"EHAM"}, "eham-community-package", "EHAM"},
        {{"ABCD", "EHAM"}, {"EHAM"}, "abcd_eham", "EHAM"},
        {{"ABCD", "EHAM"}, {}, "abcd_eham", "EHAM"},
        {{"ABCD", "EHAM"}, {"ABCD"}, "abcd_eham", "ABCD"},
        {{"ABCD"}, {}, "abcd_eham", "ABCD"},
        {{"EHAM"}, {"EHAM"}, "ehamx", nullptr},
        {{"EHAM"}, {"EHAM"}, "xeham", nullptr},
        {{"EHAM"}, {"EHAM"}, "", nullptr},
        {{}, {"EHAM"}, "eham", nullptr},
        {{"EGLL"}, {"EGLL"}, "Community/orbx-egll-london-heathrow", "EGLL"},
        {{"ABCD", "EFGH"}, {}, "abcd efgh", "EFGH"},  // one separator between two groups: the last listed
        {{"EHAM"}, {}, "abcdeham eham", "EHAM"},
        {{"EHAM"},
         {},
         "\xc3\xa9"
         "eham"
         "\xc3\xa9",
         "EHAM"},  // bytes of other characters separate too
    };
    for (const auto& c : cases) {
        g_icaoAirportCodes.clear();
        g_knownAirportCodes.clear();
        for (const char* code : c.listed)
            g_icaoAirportCodes.insert(FixedCode<4>(code));
        for (const char* code : c.known)
            g_knownAirportCodes.insert(FixedCode<4>(code));
        const IcaoCodeInText result = gf_icaoInText(c.text);
        EXPECT_EQ(result.found, c.code != nullptr) << c.text;
        if (c.code != nullptr) {
            EXPECT_EQ(result.code, FixedCode<4>(c.code)) << c.text;
        }
    }
}

// A manifest title made of thousands of codes is read in one pass.
TEST_F(IcaoInTextTest, TitleOfManyCodes) {
    g_icaoAirportCodes.clear();
    g_knownAirportCodes.clear();
    g_icaoAirportCodes.insert(FixedCode<4>("EHAM"));
    std::string title;
    for (int i = 0; i < 8000; ++i)
        title += fmt::format("{:04d} ", i);
    EXPECT_FALSE(gf_icaoInText(title).found);
    const IcaoCodeInText result = gf_icaoInText(title + "eham");
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.code, FixedCode<4>("EHAM"));
}

}  // namespace
}  // namespace mrw

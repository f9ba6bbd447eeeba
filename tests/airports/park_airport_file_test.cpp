#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fmt/format.h>

#include "airports/airport_file_lookup.h"
#include "airports/airports_database.h"
#include "airports/park_airport_data.h"
#include "airports/park_airport_file.h"
#include "airports/quality_factors.h"
#include "config/parameter_catalogue.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "park_test_support.h"
#include "support/http_test_server.h"
#include "support/scoped_environment.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::apfText;
using mrwtest::writeFile;

// Two stands 30 m apart (0.00026949 degrees of latitude) with the given radii in metres.
std::string twoStands(int radiusA, int radiusB) {
    return fmt::format(R"(<parkpos id="A" latitude="52.3" longitude="4.76" radius="{}" type="9"/>
                          <parkpos id="B" latitude="52.30026949" longitude="4.76" radius="{}" type="9"/>)",
                       radiusA, radiusB);
}

const std::string kUsedStand = R"(<parkpos id="U1" latitude="52.3" longitude="4.76" radius="20" type="9">
                                    <opt reg="PH-BXA" airl="KLM" type="B738" day="1" hh="14:19"/></parkpos>)";

class ParkAirportFileTest : public mrwtest::ParkAirportTest {
  protected:
    void writeLocal(std::initializer_list<std::pair<const char*, std::string>> parameters,
                    const std::string& stands) {
        writeFile("airports/my_thirdparty/EHAM.xml", apfText("12.6.0", parameters, stands));
    }
};

TEST_F(ParkAirportFileTest, LocalFileIsReadShownAndLogged) {
    writeLocal({{"publisher", "Pub"},
                {"version", "1.2"},
                {"Facilities", "true"},
                {"altitude", "-11"},
                {"airport_name", "Schiphol"},
                {"RT_traffic_week", "3"}},
               twoStands(20, 15));
    ASSERT_EQ(readParkFile(), "");
    EXPECT_EQ(g_parkApfInfo.publisher, "Pub");
    EXPECT_EQ(g_parkApfInfo.airportName, "Schiphol");
    EXPECT_EQ(g_parkApfInfo.altitude, -11);
    EXPECT_EQ(g_parkAirport.altitude, -11.0F);
    EXPECT_EQ(g_rtTrafficWeek, 3);
    EXPECT_TRUE(g_parkFileLoaded);
    EXPECT_TRUE(window.enabled(g_parameters().flushStaticButton));
    EXPECT_EQ(g_groundElevation.load(), std::optional<double>(-11.0));
    auto& main = g_mainWindow();
    EXPECT_EQ(main.standsCount.load(), 2);
    EXPECT_EQ(main.parkPublisherText.get(), "Pub (1.2)");
    EXPECT_EQ(main.parkQualityText.get(), "  ");
    EXPECT_EQ(main.parkHandmade.load(), 0);
    const std::string text = log();
    EXPECT_NE(text.find("learned '" + mrwtest::nativePath("airports/learned/thirdparty/Pub/EHAM.xml") + "' does not exist"),
              std::string::npos);
    EXPECT_NE(text.find("Airport file read from 'airports/my_thirdparty/EHAM.xml' for Schiphol"),
              std::string::npos);
    for (const char* line :
         {"publisher               : Pub", "version                 : 1.2",
          "altitude                : -11 ft", "num_parkpos             : 2", "Facilities              : true",
          "RT traffic week         : 3", "parking_percentage      : 50%"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST_F(ParkAirportFileTest, StandsAreNumberedAndOverlapsFound) {
    writeLocal({{"altitude", "0"}}, twoStands(20, 15));
    ASSERT_EQ(readParkFile(), "");
    ASSERT_EQ(g_parkStands.size(), 2u);
    EXPECT_EQ(g_parkStands[0].number, 1);
    EXPECT_EQ(g_parkStands[1].number, 2);
    EXPECT_EQ(g_parkStands[0].overlaps, std::vector<std::int32_t>{2});
    EXPECT_EQ(g_parkStands[1].overlaps, std::vector<std::int32_t>{1});

    gf_clearStands();
    writeLocal({{"altitude", "0"}}, twoStands(15, 15));
    ASSERT_EQ(readParkFile(), "");
    EXPECT_TRUE(g_parkStands[0].overlaps.empty());
    EXPECT_TRUE(g_parkStands[1].overlaps.empty());
}

TEST_F(ParkAirportFileTest, RefusedFilesAndReferences) {
    EXPECT_EQ(gf_readApf("", g_parkApfInfo), "gf_readApf: xml is empty");
    writeFile("airports/my_thirdparty/EHAM.xml", "<root><parameters/></root>");
    EXPECT_EQ(readParkFile(), "airports/my_thirdparty/EHAM.xml: refused to load");
    writeFile("airports/my_thirdparty/EHAM.xml", "<root>");
    EXPECT_EQ(readParkFile(),
              "airports/my_thirdparty/EHAM.xml: could not load file: airports/my_thirdparty/EHAM.xml");
    writeLocal({{"altitude", "5"}}, "");
    EXPECT_EQ(readParkFile(), "no stands found");
    EXPECT_TRUE(g_parkFileLoaded);
    g_parkAirport = {};
    EXPECT_EQ(gf_readApf("airports/my_thirdparty/EHAM.xml", g_parkApfInfo),
              "gf_readApf: no park airport set");
}

TEST_F(ParkAirportFileTest, UserErrorsReachTheCaller) {
    writeLocal({{"publisher", "Pub"}}, twoStands(20, 15));
    try {
        readParkFile();
        FAIL() << "no exception";
    } catch (const UserErrorException& e) {
        EXPECT_STREQ(e.what(), "65: Parameter altitude not found");
    }
    writeLocal({{"altitude", "0"}}, R"(<parkpos id="A" latitude="1" longitude="1"/><parkpos id=" A "/>)");
    EXPECT_THROW(readParkFile(), UserErrorException);
    EXPECT_EQ(g_parkStands.size(), 1u);
    EXPECT_FALSE(g_parkFileLoaded);
}

TEST_F(ParkAirportFileTest, DefaultsFromQualityFactorsWithoutLearnedFile) {
    struct Case {
        const char* real;
        const char* soft;
        bool before;
        bool after;
        float maxFitHours;
    };
    const Case cases[] = {
        {"2", "10", false, true, 24.0f},
        {"60", "10", true, false, 3.0f},
        {"30", "10", true, true, 3.0f},
        {"30", "10", false, false, 3.0f},
    };
    auto& s = g_parameters();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.real) + "/" + c.soft);
        gf_clearStands();
        s.PARK_SOFT.current = c.before;
        s.WEEK.current = c.before;
        s.MAX_FIT_FL.current = 3.0f;
        writeLocal({{"altitude", "0"}, {"Qf_real", c.real}, {"Qf_soft", c.soft}}, twoStands(10, 10));
        ASSERT_EQ(readParkFile(), "");
        EXPECT_EQ(s.PARK_SOFT.current, c.after);
        EXPECT_EQ(s.WEEK.current, c.after);
        if (c.after != c.before) {
            EXPECT_EQ(window.checked(s.PARK_SOFT), c.after);
            EXPECT_EQ(window.checked(s.WEEK), c.after);
        }
        EXPECT_EQ(s.MAX_FIT_FL.current, c.maxFitHours);
        EXPECT_EQ(s.parking_percentage.current, 50);
        EXPECT_EQ(window.selection(s.parking_percentage), "50");
    }
    EXPECT_EQ(window.selection(s.MAX_FIT_FL), "24.0");
    EXPECT_EQ(mrwtest::parametersText(), "");
}

TEST_F(ParkAirportFileTest, ParkingPercentageFollowsTheStandDataCode) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {{1, 100}, {2, 50}, {0, 30}, {7, 30}};
    for (const auto& [s, percentage] : cases) {
        SCOPED_TRACE(s);
        gf_clearStands();
        g_airports.front().s = s;
        writeLocal({{"altitude", "0"}}, twoStands(10, 10));
        ASSERT_EQ(readParkFile(), "");
        EXPECT_EQ(g_parameters().parking_percentage.current, percentage);
    }
    gf_clearStands();
    g_airports.clear();
    ASSERT_EQ(readParkFile(), "");
    EXPECT_EQ(g_parameters().parking_percentage.current, 30);
}

// The factors of one park airport must not decide the settings of the next one.
TEST_F(ParkAirportFileTest, TwoParkAirportsInARowResetTheFactors) {
    auto& s = g_parameters();
    writeLocal({{"altitude", "0"}, {"Qf_real", "2"}, {"Qf_soft", "10"}}, twoStands(10, 10));
    ASSERT_EQ(readParkFile(), "");
    EXPECT_EQ(g_qualityFactors, (QualityFactors{2, 10}));
    s.PARK_SOFT.current = false;
    s.WEEK.current = false;

    gf_clearStands();
    g_parkAirport = Airport{FixedCode<4>("EGLL"), g_noIataCode, 51.47, -0.45, 83.0F, 0};
    writeFile("airports/my_simaddon/EGLL.xml", apfText("12.6.0", {{"altitude", "83"}}, twoStands(10, 10)));
    ASSERT_EQ(readParkFile(), "");
    EXPECT_EQ(g_qualityFactors, (QualityFactors{-1, -1}));
    EXPECT_FALSE(s.PARK_SOFT.current);
    EXPECT_FALSE(s.WEEK.current);

    gf_clearStands();
    writeFile("airports/my_simaddon/EGLL.xml", apfText("12.6.0", {{"altitude", "83"}}, kUsedStand));
    ASSERT_EQ(readParkFile(), "");
    EXPECT_EQ(g_qualityFactors.real, 63);
    EXPECT_EQ(g_mainWindow().parkQualityText.get(), "63");
}

TEST_F(ParkAirportFileTest, RestoringPutsBackAndSavesOnlyChangedValues) {
    auto& s = g_parameters();
    writeLocal({{"publisher", "Pub"}, {"altitude", "0"}}, twoStands(10, 10));
    writeFile("airports/learned/thirdparty/Pub/EHAM.xml",
              apfText("12.6.0", {{"RANGE", "20"}, {"WEEK", "true"}, {"MAX_LIVE_SEL", "500"}}, ""));
    ASSERT_EQ(readParkFile(), "");
    ASSERT_EQ(s.RANGE.current, 20);
    ASSERT_TRUE(s.WEEK.current);
    gf_restoreUserParameters();
    EXPECT_EQ(s.RANGE.current, 40);
    EXPECT_EQ(g_rangeNm.load(), 40.0);
    EXPECT_EQ(window.selection(s.RANGE), "40");
    EXPECT_FALSE(s.WEEK.current);
    EXPECT_FALSE(window.checked(s.WEEK));
    const std::string saved = mrwtest::parametersText();
    EXPECT_NE(saved.find("\"RANGE\""), std::string::npos);
    EXPECT_NE(saved.find("\"WEEK\""), std::string::npos);
    EXPECT_EQ(saved.find("\"MAX_LIVE_SEL\""), std::string::npos);
    EXPECT_EQ(saved.find("\"PARK_SOFT\""), std::string::npos);
}

class ParkAirportDownloadTest : public ParkAirportFileTest {
  protected:
    void SetUp() override {
        ParkAirportFileTest::SetUp();
        m_environment.set("MRW_DOWNLOAD_SITE", server.site());
    }
    static mrwtest::HttpTestServer::Answer answer(std::string body) {
        mrwtest::HttpTestServer::Answer result;
        result.body = std::move(body);
        return result;
    }
    mrwtest::HttpTestServer server{{
        {"/downloads/MSFS/archive/stock/EHAM.xml",
         answer(apfText("12.6.0", {{"publisher", "stock"}, {"altitude", "-11"}, {"airport_name", "Schiphol"}},
                        twoStands(20, 15)))},
    }};

  private:
    mrwtest::ScopedEnvironment m_environment;
};

TEST_F(ParkAirportDownloadTest, ArchivedFileIsDownloadedAndItsLearnedFileFound) {
    writeFile("airports/learned/stock/EHAM.xml",
              apfText("12.6.0", {{"airport_name", "Schiphol"}, {"RANGE", "25"}},
                      R"(<parkpos id="A" radius_change="true" radius="5"/>)"));
    ASSERT_EQ(gf_apfFileName(g_parkAirport.code), "archive/stock/EHAM.xml");
    ASSERT_EQ(readParkFile(), "");
    EXPECT_TRUE(fs::exists("airports/park_airport.xml"));
    EXPECT_EQ(g_parkStands.size(), 2u);
    EXPECT_EQ(g_parameters().RANGE.current, 25);
    EXPECT_TRUE(g_parkStands[0].radiusChanged);
}

TEST_F(ParkAirportDownloadTest, MissingArchivedFileIsReported) {
    g_airports.front().code = FixedCode<4>("EGLL");
    g_parkAirport.code = FixedCode<4>("EGLL");
    EXPECT_EQ(readParkFile(),
              "failed to download: '" + server.url("/downloads/MSFS/archive/stock/EGLL.xml") + "'");
    EXPECT_FALSE(fs::exists("airports/park_airport.xml"));
    EXPECT_FALSE(g_parkFileLoaded);
}

TEST_F(ParkAirportDownloadTest, NearestStandOfANeighboursFile) {
    std::string id = "none";
    const double archived = gf_readDestApfForClosestStand(FixedCode<4>("EHAM"), {52.3, 4.76}, id);
    EXPECT_NEAR(archived, 0.0, 1e-9);
    EXPECT_EQ(id, "A");
    EXPECT_FALSE(fs::exists("airport.xml"));

    writeFile("airports/my_simaddon/EGLL.xml",
              R"(<root><parkpositions><parkpos id="L1" latitude="51.47" longitude="-0.45"/>
                  <parkpos id="L2" latitude="51.48" longitude="-0.45"/></parkpositions></root>)");
    EXPECT_NEAR(gf_readDestApfForClosestStand(FixedCode<4>("EGLL"), {51.481, -0.45}, id), 0.06, 0.001);
    EXPECT_EQ(id, "L2");

    id = "kept";
    EXPECT_EQ(gf_readDestApfForClosestStand(FixedCode<4>("LFPG"), {49.0, 2.5}, id), 100.0);
    EXPECT_EQ(id, "kept");
    EXPECT_EQ(gf_readDestApfForClosestStand(FixedCode<4>("EGLL"), {10.0, 10.0}, id), 100.0);
    EXPECT_EQ(id, "kept");
}

}  // namespace
}  // namespace mrw

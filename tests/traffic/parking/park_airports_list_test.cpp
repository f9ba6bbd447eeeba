#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/text_encoding.h"
#include "foundation/window_model.h"
#include "parking_test_support.h"
#include "support/test_support.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/parking/park_airports_list.h"
#include "traffic/parking/park_airports_list_internal.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

using mrw::g_parkAirports;

class ParkAirportsListTest : public ParkingTest {
  protected:
    void SetUp() override {
        ParkingTest::SetUp();
        std::filesystem::create_directories(mrw::g_airportsFolder);
        addAirport("EHAM", 52.31, 4.76);
        addAirport("LFPG", 49.01, 2.55);
        addAirport("EGLL", 51.47, -0.45);
        addAirport("EDDF", 50.03, 8.57);
        addAirport("EDDM", 48.35, 11.79);
        addAirport("KJFK", 40.64, -73.78);
    }

    void writeList(const std::string& text) { writeFile(mrw::g_myParkAirportsFile, text); }
    std::string listFile() const { return readFile(mrw::g_myParkAirportsFile); }

    // "CODE,stand" of every entry in list order.
    static std::vector<std::string> entries() {
        std::vector<std::string> result;
        for (const auto& entry : g_parkAirports)
            result.push_back(entry.code.str() + "," + entry.reservedStand);
        return result;
    }
};

TEST_F(ParkAirportsListTest, ReadsTheLinesAndRefusesOnlyTheBadOnes) {
    writeList(
        "EHAM\n"
        "EHAM\n"
        "eham\n"
        "EHAM,D4,X\n"
        " LFPG , , D4 \n"
        ",EGLL\n"
        "ZZZZ\n"
        "EDDF D4\n"
        "   \n"
        ",,,\n"
        "KJFK\r\n");
    EXPECT_FALSE(mrw::lf_readMyParkAirports());
    EXPECT_EQ(entries(), (std::vector<std::string>{"EHAM,", "EHAM,", "LFPG,D4", "EGLL,", "KJFK,"}));
    const std::string text = log();
    EXPECT_NE(text.find("==> my_park_airports.txt:EHAM double, skipped"), std::string::npos);
    EXPECT_NE(text.find("==> my_park_airports.txt:EHAM,D4,X wrong syntax, skipped"), std::string::npos);
    EXPECT_NE(text.find("==> my_park_airports.txt:EDDF D4 wrong syntax, skipped"), std::string::npos);
    EXPECT_NE(text.find("airport ZZZZ is unknown"), std::string::npos);
    EXPECT_NE(text.find("\n    5 park airports read from 'my_park_airports.txt'"), std::string::npos);
    EXPECT_EQ(mrw::g_mainWindow().message, "airport ZZZZ is unknown");
}

TEST_F(ParkAirportsListTest, ThirdPartyAirportsFollowTheFileAndOtherFilesArePassedOver) {
    std::filesystem::create_directories(mrw::g_myThirdpartyFolder);
    for (const char* name : {"EGLL.xml", "EDDM.txt", "readme.txt", "ZZZZ.xml", "LFPG.xml"})
        writeFile(mrw::g_myThirdpartyFolder / name, "x");
    std::filesystem::create_directories(mrw::g_myThirdpartyFolder / "KJFK.xml");
    writeList("LFPG,K1\n");
    EXPECT_TRUE(mrw::lf_readMyParkAirports());
    EXPECT_EQ(entries(), (std::vector<std::string>{"LFPG,K1", "EDDM,", "EGLL,"}));
}

TEST_F(ParkAirportsListTest, AMissingFileIsNoError) {
    EXPECT_TRUE(mrw::lf_readMyParkAirports());
    EXPECT_TRUE(g_parkAirports.empty());
    // The path as the system writes it (a backslash on Windows).
    EXPECT_NE(log().find(mrw::path_to_utf8(mrw::g_myParkAirportsFile) + " not found"), std::string::npos);
}

TEST_F(ParkAirportsListTest, MoreThan3000AirportsAreWarnedAbout) {
    std::vector<std::string> codes;
    for (char letter : {'Q', 'R', 'S', 'T'})
        for (int i = 0; i < 1000; ++i)
            codes.push_back(fmt::format("{}{:03}", letter, i));
    for (const std::string& code : codes)
        addAirport(code, 10.0, 10.0);
    const auto listOf = [&codes](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += codes[i] + "\n";
        return text;
    };
    writeList(listOf(3000));
    EXPECT_TRUE(mrw::lf_readMyParkAirports());
    EXPECT_EQ(log().find("Warning: There are a lot of airports"), std::string::npos);
    writeList(listOf(3001));
    EXPECT_TRUE(mrw::lf_readMyParkAirports());
    EXPECT_EQ(g_parkAirports.size(), 3001u);
    EXPECT_NE(
        log().find("Warning: There are a lot of airports (3001), that will cost MRWV much cpu time and may "
                   "cause stutters"),
        std::string::npos);
}

TEST_F(ParkAirportsListTest, WritingReplacesEveryLineOfTheAirportAndSorts) {
    writeList("LFPG\nEHAM,D2\nEHAM\n");
    g_parkAirports.push_front({"D4", {52.31, 4.76}, 0.0, mrw::FixedCode<4>("EHAM")});
    mrw::gf_writeMyParkAirports();
    EXPECT_EQ(listFile(), "EHAM,D4\nLFPG\n");
    EXPECT_NE(log().find("my_park_airports.txt:EHAM,D4 updated stand"), std::string::npos);

    g_parkAirports.push_front({"", {49.01, 2.55}, 0.0, mrw::FixedCode<4>("EGLL")});
    mrw::gf_writeMyParkAirports();
    EXPECT_EQ(listFile(), "EGLL\nEHAM,D4\nLFPG\n");
    EXPECT_NE(log().find("my_park_airports.txt:EGLL new entry"), std::string::npos);
}

TEST_F(ParkAirportsListTest, WritingCreatesAMissingFile) {
    g_parkAirports.push_front({"", {52.31, 4.76}, 0.0, mrw::FixedCode<4>("EHAM")});
    mrw::gf_writeMyParkAirports();
    EXPECT_EQ(listFile(), "EHAM\n");
    EXPECT_NE(log().find("my_park_airports.txt created with EHAM"), std::string::npos);
}

TEST_F(ParkAirportsListTest, AFailedWriteIsAnErrorAndLeavesTheTargetAlone) {
    std::filesystem::create_directories(mrw::g_myParkAirportsFile);
    writeFile(mrw::g_myParkAirportsFile / "kept", "old");
    g_parkAirports.push_front({"", {52.31, 4.76}, 0.0, mrw::FixedCode<4>("EHAM")});
    mrw::gf_writeMyParkAirports();
    EXPECT_EQ(readFile(mrw::g_myParkAirportsFile / "kept"), "old");
    EXPECT_NE(log().find("==> gf_writeMyParkAirports: could not write " +
                         mrw::path_to_utf8(mrw::g_myParkAirportsFile)),
              std::string::npos);
    std::size_t leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(mrw::g_airportsFolder))
        leftovers += entry.path().filename() != "my_park_airports.txt";
    EXPECT_EQ(leftovers, 0u);
}

TEST_F(ParkAirportsListTest, TheLineTestMatchesOnlyTheCodeAsWritten) {
    const mrw::ParkAirportEntry entry{"D4", {}, 0.0, mrw::FixedCode<4>("EHAM")};
    struct Case {
        const char* line;
        bool matches;
    };
    for (const Case& c :
         {Case{"EHAM", true}, Case{" EHAM , D1", true}, Case{",EHAM", true}, Case{"eham", false},
          Case{"EHAMX", false}, Case{"LFPG,EHAM", false}, Case{"", false}}) {
        std::string line = c.line;
        EXPECT_EQ(mrw::lf_updateReservedStand(entry, "EHAM,D4", line), c.matches) << c.line;
        EXPECT_EQ(line, c.matches ? "EHAM,D4" : c.line);
    }
}

TEST_F(ParkAirportsListTest, OrdersNearestFirstUnlessADestinationIsSet) {
    writeList("KJFK\nLFPG\nEHAM\n");
    mrw::lf_readMyParkAirports();
    mrw::lf_findParkAirport({52.0, 4.5});
    EXPECT_EQ(entries(), (std::vector<std::string>{"EHAM,", "LFPG,", "KJFK,"}));
    EXPECT_GT(g_parkAirports.front().distanceNm, 0.0);

    mrw::g_parameters().DESTINATION.current.set("KJFK");
    mrw::gf_addParkAirport(mrw::FixedCode<4>("KJFK"), {40.64, -73.78});
    mrw::lf_findParkAirport({49.0, 2.5});
    EXPECT_EQ(entries(), (std::vector<std::string>{"KJFK,", "EHAM,", "LFPG,"}));
    // The same position again refreshes only the front entry's distance.
    g_parkAirports.back().distanceNm = -1.0;
    mrw::lf_findParkAirport({49.0, 2.5});
    EXPECT_EQ(g_parkAirports.back().distanceNm, -1.0);
    EXPECT_GT(g_parkAirports.front().distanceNm, 3000.0);
}

TEST_F(ParkAirportsListTest, AddingAListedAirportMovesItWithoutWriting) {
    writeList("EHAM,D4\nLFPG\n");
    mrw::lf_readMyParkAirports();
    mrw::gf_addParkAirport(mrw::FixedCode<4>("LFPG"), {0.0, 0.0});
    EXPECT_EQ(entries(), (std::vector<std::string>{"LFPG,", "EHAM,D4"}));
    EXPECT_EQ(g_parkAirports.front().position, (mrw::Lalo{49.01, 2.55}));
    mrw::gf_addParkAirport(mrw::FixedCode<4>("EHAM"), {0.0, 0.0});
    EXPECT_EQ(g_parkAirports.front().reservedStand, "D4");
    EXPECT_EQ(listFile(), "EHAM,D4\nLFPG\n");

    mrw::gf_addParkAirport(mrw::FixedCode<4>("EDDF"), {50.03, 8.57});
    EXPECT_EQ(listFile(), "EDDF\nEHAM,D4\nLFPG\n");
}

TEST_F(ParkAirportsListTest, TheParkAirportIsSetOnlyForAKnownCode) {
    EXPECT_TRUE(mrw::lf_logParkAirport(mrw::FixedCode<4>("LFPG")));
    EXPECT_EQ(mrw::g_parkAirport.code, mrw::FixedCode<4>("LFPG"));
    EXPECT_EQ(mrw::g_mainWindow().parkAirportCode.load(), mrw::FixedCode<4>("LFPG"));
    EXPECT_NE(log().find("\nThe park airport is LFPG"), std::string::npos);
    EXPECT_FALSE(mrw::lf_logParkAirport(mrw::FixedCode<4>("ZZZZ")));
    EXPECT_TRUE(mrw::g_mainWindow().parkAirportCode.load().empty());
}

TEST_F(ParkAirportsListTest, AReReadPutsTheDestinationInFrontAndAppliesANewReservedStand) {
    setParkStands({makeStand("D2", 52.31, 4.76), makeStand("D4", 52.32, 4.76)});
    mrw::lf_logParkAirport(mrw::FixedCode<4>("EHAM"));
    mrw::g_userStandName.set("D2");
    mrw::g_parkStands[0].excluded = true;
    mrw::g_userDataReceived = true;
    mrw::g_parameters().DESTINATION.current.set("EHAM");
    writeList("LFPG\nEHAM,D4\n");

    std::string message;
    EXPECT_TRUE(mrw::lf_checkParkAirports(true, message));
    EXPECT_EQ(entries(), (std::vector<std::string>{"EHAM,D4", "LFPG,"}));
    EXPECT_EQ(message, "reserved stand changed from 'D2' to 'D4'");
    EXPECT_EQ(mrw::g_userStandName.get(), "D4");
    EXPECT_FALSE(mrw::g_parkStands[0].excluded);
    EXPECT_TRUE(mrw::g_parkStands[1].excluded);

    message.clear();
    EXPECT_TRUE(mrw::lf_checkParkAirports(true, message));
    EXPECT_EQ(message, "park airports and stands are okay");

    writeList("ZZZZ\n");
    message.clear();
    EXPECT_FALSE(mrw::lf_checkParkAirports(true, message));
    EXPECT_EQ(message, "");
}

TEST_F(ParkAirportsListTest, NoReservedStandChangeWhileAnUpdateRuns) {
    setParkStands({makeStand("D4", 52.32, 4.76)});
    mrw::lf_logParkAirport(mrw::FixedCode<4>("EHAM"));
    mrw::g_userDataReceived = true;
    mrw::g_parkingUpdateRunning = true;
    writeList("EHAM,D4\n");
    std::string message;
    EXPECT_TRUE(mrw::lf_checkParkAirports(true, message));
    EXPECT_EQ(message, "park airports and stands are okay");
    EXPECT_EQ(mrw::g_userStandName.get(), "");
}

// The UI thread types destinations and the client thread reserves stands while the main worker
// reads and orders the list.
TEST_F(ParkAirportsListTest, ThreeThreadsShareTheListAndItsFile) {
    writeList("EHAM\nLFPG\nEGLL\n");
    mrw::lf_logParkAirport(mrw::FixedCode<4>("EHAM"));
    std::thread ui([] {
        for (int i = 0; i < 200; ++i)
            mrw::gf_addParkAirport(mrw::FixedCode<4>(i % 2 == 0 ? "EDDF" : "EDDM"), {50.0, 8.0});
    });
    std::thread client([] {
        for (int i = 0; i < 200; ++i) {
            std::lock_guard lock(mrw::g_parkAirportsMutex);
            if (!g_parkAirports.empty() && g_parkAirports.front().code == mrw::g_parkAirport.code) {
                g_parkAirports.front().reservedStand = "S" + std::to_string(i);
                mrw::gf_writeMyParkAirports();
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        if (i % 20 == 0) mrw::lf_readMyParkAirports();
        mrw::lf_findParkAirport({50.0 + i * 0.01, 5.0});
    }
    ui.join();
    client.join();
    mrw::lf_readMyParkAirports();
    std::set<std::string> codes;
    for (const auto& entry : g_parkAirports)
        EXPECT_TRUE(codes.insert(entry.code.str()).second);
    EXPECT_TRUE(codes.contains("EDDF"));
    EXPECT_TRUE(codes.contains("EDDM"));
    EXPECT_TRUE(codes.contains("EHAM"));
}

}  // namespace
}  // namespace mrwtest

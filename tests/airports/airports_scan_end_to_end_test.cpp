// The whole airports scan over a fake packages folder of the 2024 simulator: streamed packages and
// Community packages, the report, the two folders of airport files and tblo.zip.

#include <gtest/gtest.h>

#include "aircraft/aircraft_database.h"
#include "airports/airports_database.h"
#include "airports/airports_scan.h"
#include "airports/facility_reader.h"
#include "airports_scan_test_support.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/simulator_choice.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "foundation/zip_archive.h"
#include "platform/simconnect/sim_world.h"

namespace fs = std::filesystem;
using namespace mrw;
using namespace mrwtest;

namespace {

class ScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAirportsData();
        resetAddonLists();
        makeAirportFolders();
        startFacilityWorld();
        knowAirports({"EGKK", "EHAM", "EGLL"});
        g_icaoAirportCodes.clear();
        writeFile(g_icaoAirportsFile, "EGKK,EHAM\r\n\r\nEGLL\n");
        g_msfs2020 = false;
        g_parameters().MSFS_2024_INSTALL_PATH.current.set((folder / "MSFS").string());
        g_parameters().SCAN_AIRPORTS.current = true;
        fs::create_directories(streamed);
        fs::create_directories(community);
    }
    void TearDown() override {
        gf_closeFacilityConnection();
        g_parameters().MSFS_2024_INSTALL_PATH.current.set("");
        g_msfs2020 = true;
        resetAirportsData();
    }
    LoggedProgramFolder folder;
    fs::path streamed = folder / "MSFS" / "StreamedPackages";
    fs::path community = folder / "MSFS" / "Community";
};

TEST_F(ScanTest, LinksGeneratesAndPacksWhatTheArchiveLacks) {
    g_simaddons24() = {"EGKK"};
    g_publisherGroups() = {{"Pub"}};
    fs::create_directories(streamed / "microsoft-airport-egkk");
    fs::create_directories(streamed / "asobo-scenery-egll");  // skipped before any airport test
    fs::create_directories(streamed / "fs20-airport-eham");
    writeFile(community / "Pub-eham/manifest.json",
              R"({"title":"Amsterdam","package_version":"1.0.0","creator":"Pub Studio"})");
    BglAirport eham{"EHAM", -3000, {{52.31, 4.77, 20.0F}}, {{12, 4, 5, 20.0F, 90.0F, 52.30, 4.76}}};
    writeFile(community / "Pub-eham/scenery/EHAM.BGL", bglFileOf({eham}));
    writeFile(community / "Pub-eham/scenery/statics/other.bgl", bglFileOf({eham}));
    // The simulator cannot serve the Community airport: the BGL file is read instead.
    standin::failNext("SimConnect_RequestFacilityData");

    gf_scanAirports();

    EXPECT_EQ(readFile(g_mySimaddonFolder / "EGKK.txt"), "archive/simaddon/EGKK.xml\n");
    EXPECT_TRUE(fs::exists(g_myThirdpartyFolder / "EHAM.xml"));  // generated; a copy went to tblo.zip
    const std::vector<std::string> report = readLines(g_airportsScanLogFile);
    const std::string reportText = readFile(g_airportsScanLogFile);
    EXPECT_NE(reportText.find("simaddon airport EGKK linked to archive/simaddon/EGKK.xml"),
              std::string::npos);
    EXPECT_NE(reportText.find("Facilities reader did not succeed, trying the BGL file reader ..."),
              std::string::npos);
    EXPECT_NE(reportText.find("Generated EHAM.xml: 2 positions of which 1 helipad"), std::string::npos);
    EXPECT_EQ(reportText.find("EGLL"), std::string::npos);
    EXPECT_EQ(report.back(), "Airpoprts scan finished!");

    const ZipArchive archive = ZipArchive::openForReading(g_tbloZipFile);
    EXPECT_EQ(archive.entryNames(), std::vector<std::string>{"EHAM.xml"});
    EXPECT_NE(archive.read("EHAM.xml", 1 << 20)->find("helipad1"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(g_tbloFolder), fs::directory_iterator()), 1);
    EXPECT_EQ(g_tbloFileCount.load(), 1U);
    EXPECT_EQ(g_mainWindow().simaddonCount.load(), 1);
    EXPECT_EQ(g_mainWindow().thirdPartyCount.load(), 1);
    EXPECT_FALSE(g_parameters().SCAN_AIRPORTS.current.load());
    EXPECT_FALSE(gf_facilityConnectionOpen());
    EXPECT_TRUE(g_icaoAirportCodes.empty());
    EXPECT_NE(folder.logText().find("3 ICAO codes of airports read"), std::string::npos);
}

TEST_F(ScanTest, NothingFoundWarnsAndRemovesTblo) {
    fs::remove_all(community);
    fs::create_directories(g_tbloFolder);
    writeFile(g_tbloFolder / "old.xml", "x");
    writeFile(g_myThirdpartyFolder / "EGLL.xml", "from the previous scan");
    gf_scanAirports();
    EXPECT_FALSE(fs::exists(g_tbloFolder));
    EXPECT_FALSE(fs::exists(g_myThirdpartyFolder / "EGLL.xml"));
    EXPECT_EQ(g_tbloFileCount.load(), 0U);
    EXPECT_FALSE(g_parameters().SCAN_AIRPORTS.current.load());
    const std::string log = folder.logText();
    EXPECT_NE(log.find("Warning: Scan has not found any add-on airports"), std::string::npos);
    EXPECT_NE(log.find("does not exist, skipped!"), std::string::npos);
}

TEST_F(ScanTest, AnInstallPathWithAFilterWordIsStillScanned) {
    const fs::path install = folder / "aircraft-and-scenery";
    g_parameters().MSFS_2024_INSTALL_PATH.current.set(install.string());
    g_simaddons24() = {"EGKK"};
    fs::create_directories(install / "StreamedPackages" / "microsoft-airport-egkk");
    gf_scanAirports();
    EXPECT_TRUE(fs::exists(g_mySimaddonFolder / "EGKK.txt"));
}

TEST_F(ScanTest, BadCodesEndTheScanBeforeAnyWalk) {
    for (const std::string text : {"EGKK, EHAM\n", "EGKK,\n", "EGK\n"}) {
        writeFile(g_icaoAirportsFile, text);
        EXPECT_THROW(gf_scanAirports(), std::invalid_argument) << text;
        EXPECT_TRUE(g_icaoAirportCodes.empty());
    }
    fs::remove(g_icaoAirportsFile);
    try {
        gf_scanAirports();
        FAIL() << "no exception";
    } catch (const UserErrorException& e) {
        EXPECT_EQ(std::string(e.what()), "522: File '" + mrwtest::nativePath("input/ICAO_airports.txt") + "' is missing?");
    }
}

TEST_F(ScanTest, AnExceptionOutOfTheWalkClosesTheConnection) {
    g_publisherGroups() = {{"Pub"}};
    fs::create_directories(streamed / "pub-airport-ehamx-eham");  // the simulator does not know EHAM
    EXPECT_THROW(gf_scanAirports(), UserErrorException);
    EXPECT_FALSE(gf_facilityConnectionOpen());
    EXPECT_TRUE(g_icaoAirportCodes.empty());
    // The next scan opens a new connection and works.
    fs::remove_all(streamed / "pub-airport-ehamx-eham");
    EXPECT_NO_THROW(gf_scanAirports());
}

}  // namespace

namespace {

TEST_F(ScanTest, AStreamedSimulatorAirportInCapitalsTakesThePublisherRoad) {
    knowAirports({"EGSS"});
    g_simaddons24() = {"EGSS"};
    writeFile(g_icaoAirportsFile, "EGSS\n");
    fs::create_directories(streamed / "MICROSOFT-AIRPORT-egss");
    gf_scanAirports();
    const std::string report = readFile(g_airportsScanLogFile);
    EXPECT_NE(report.find("airport has 'EGSS' in folder path"), std::string::npos);
    EXPECT_NE(report.find("publisher: simaddon"), std::string::npos);
    EXPECT_EQ(readFile(g_mySimaddonFolder / "EGSS.txt"), "archive/simaddon/EGSS.xml\n");
}

}  // namespace

// The folder walks' filters, the link step and the per-file facility step of the airports scan.

#include <gtest/gtest.h>

#include "aircraft/aircraft_database.h"
#include "airports/addon_folder_walk.h"
#include "airports/airport_file_generation.h"
#include "airports/airports_scan_report.h"
#include "airports/facility_reader.h"
#include "airports_scan_test_support.h"
#include "foundation/file_names.h"
#include "foundation/simulator_choice.h"
#include "foundation/window_model.h"
#include "platform/simconnect/sim_world.h"

namespace fs = std::filesystem;
using namespace mrw;
using namespace mrwtest;

namespace {

class ScanWalkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetAirportsData();
        resetAddonLists();
        makeAirportFolders();
        startFacilityWorld();
        g_msfs2020 = true;
    }
    void TearDown() override {
        gf_closeFacilityConnection();
        resetAirportsData();
    }
    LoggedProgramFolder folder;
};

TEST_F(ScanWalkTest, FolderFiltersLookBelowTheWalkedFolderOnly) {
    const fs::path root = folder / "Aircraft-Sims" / "Community";  // a filter word above the walk
    struct Case {
        fs::path entry;
        bool skipped;
    } cases[] = {
        {root / "pub-egll", false},           {root / "pub-AIRCRAFT-pack", true},
        {root / "x" / "fs-base-stuff", true}, {root / "gsx-pro", true},
        {root / std::string(260, 'a'), true},  // a full path too long for the simulator's platform
    };
    for (const Case& c : cases)
        EXPECT_EQ(lf_isSkippedFolder(c.entry, root), c.skipped) << c.entry;
}

TEST_F(ScanWalkTest, LinksFollowThePublisherListsAndVersionKeys) {
    g_publisherGroups() = {{"Two Words"}};
    g_thirdParties20() = {{"Two Words", {"EHAM201", "EGLL"}}};
    g_simaddons20() = {"EGKK"};
    struct Case {
        std::string code;
        std::string publisher;
        std::string version;
        std::optional<std::string> ref;
    } cases[] = {
        {"EHAM", "Two Words", "2.0.1", "archive/thirdparty/Two%20Words/EHAM201.xml"},
        {"EGLL", "Two Words", "1.0", "archive/thirdparty/Two%20Words/EGLL.xml"},
        {"EHAM", "Two Words", "1.0", std::nullopt},
        {"EGKK", "simaddon", "", "archive/simaddon/EGKK.xml"},
        {"EGSS", "simaddon", "", std::nullopt},
    };
    for (const Case& c : cases) {
        AirportFile file;
        file.code = FixedCode<4>(c.code);
        file.publisher = c.publisher;
        file.manifest = ManifestData{"", c.version, "", ""};
        const bool simaddon = c.publisher == "simaddon";
        const auto ref = simaddon ? lf_archivedSimaddonApf(file.code) : lf_archivedThirdpartyApf(file);
        EXPECT_EQ(ref, c.ref) << c.code << c.version;
    }
    const std::string report = reportText();
    EXPECT_NE(report.find("thirdparty Two Words EHAM does not exist"), std::string::npos);
    EXPECT_NE(report.find("EGSS does not exist as simaddon"), std::string::npos);
}

TEST_F(ScanWalkTest, ALinkFileThatCannotBeWrittenIsNoLink) {
    g_simaddons20() = {"EGKK"};
    AirportFile file;
    file.code = FixedCode<4>("EGKK");
    file.publisher = "simaddon";
    ASSERT_TRUE(lf_linkArchivedApf(file));
    EXPECT_EQ(readFile(g_mySimaddonFolder / "EGKK.txt"), "archive/simaddon/EGKK.xml\n");
    fs::remove(g_mySimaddonFolder / "EGKK.txt");
    fs::create_directory(g_mySimaddonFolder / "EGKK.txt");  // the link file's name is taken by a folder
    EXPECT_FALSE(lf_linkArchivedApf(file));
    EXPECT_NE(reportText().find("Writing " + mrwtest::nativePath("airports/my_simaddon/EGKK.txt") + " did not succeed"), std::string::npos);
}

TEST_F(ScanWalkTest, AnAirportWithoutPublisherIsNeverLinked) {
    AirportFile file;
    file.code = FixedCode<4>("EGKK");
    file.sourcePath = folder / "nobody" / "a.bgl";
    file.bglPathText = file.sourcePath.string();
    EXPECT_FALSE(lf_linkArchivedApf(file));
    EXPECT_EQ(fs::directory_iterator(g_mySimaddonFolder), fs::directory_iterator());
}

TEST_F(ScanWalkTest, FacilityStepGeneratesFromFacilityDataAndReportsCounts) {
    knowAirports({"EHAM"});
    standin::FacilityAirport eham;
    eham.icao = "EHAM";
    eham.latitudeDeg = 52.3;
    eham.longitudeDeg = 4.76;
    standin::FacilityParking parking;
    parking.type = 4;
    parking.number = 3;
    parking.radiusM = 20.0F;
    eham.parkings = {parking, parking};
    eham.helipads = {{52.31, 4.77, 0.0, 0.0F, 20.0F, 20.0F, 0, 1}};
    standin::addAirport(eham);
    const fs::path bgl = folder / "Community" / "nobody-eham" / "scenery" / "ap.bgl";
    writeFile(bgl, bglFileOf({BglAirport{"EHAM", 0, {}, {}}}));
    ASSERT_TRUE(lf_processFacilities(bgl));
    ASSERT_TRUE(fs::exists(g_myThirdpartyFolder / "EHAM.xml"));
    const std::string xml = readFile(g_myThirdpartyFolder / "EHAM.xml");
    EXPECT_NE(xml.find("helipad1"), std::string::npos);
    EXPECT_NE(xml.find("\"3a\""), std::string::npos);
    EXPECT_NE(reportText().find("Generated EHAM.xml: 3 positions of which 1 helipad"), std::string::npos);
    EXPECT_EQ(g_mainWindow().thirdPartyCount.load(), 1);
}

TEST_F(ScanWalkTest, FacilityStepFallsBackWhenTheSimulatorFails) {
    knowAirports({"EHAM"}, {"ZZZZ"});
    const fs::path bgl = folder / "Community" / "nobody-eham" / "ap.bgl";
    writeFile(bgl, bglFileOf({BglAirport{"EHAM", 0, {}, {}}}));
    standin::failNext("SimConnect_Open");
    EXPECT_FALSE(lf_processFacilities(bgl));
    EXPECT_NE(reportText().find("Reading Facilites data for EHAM via SimConnect failed, is MSFS connected?"),
              std::string::npos);
    // A code found but unknown to the database: handled, the BGL reader is not tried.
    const fs::path unknown = folder / "Community" / "nobody-zzzz" / "ap.bgl";
    writeFile(unknown, bglFileOf({BglAirport{"EHAM", 0, {}, {}}}));
    EXPECT_TRUE(lf_processFacilities(unknown));
}

TEST_F(ScanWalkTest, AManifestWithoutMakerIsLinkedButNeverGenerated) {
    knowAirports({"EHAM"});
    writeFile(folder / "Community/anon-eham/manifest.json", R"({"manufacturer":"abc","creator":"xy"})");
    const fs::path bgl = folder / "Community" / "anon-eham" / "ap.bgl";
    writeFile(bgl, bglFileOf({BglAirport{"EHAM", 0, {}, {{12, 4, 1, 20.0F, 0.0F, 52.3, 4.7}}}}));
    EXPECT_FALSE(lf_processFacilities(bgl));
    EXPECT_TRUE(standin::journal("PARKING_DATA_RDR").empty());
    EXPECT_EQ(fs::directory_iterator(g_myThirdpartyFolder), fs::directory_iterator());
}

}  // namespace

namespace {

TEST_F(ScanWalkTest, TheRecursiveWalkReportsAnEntrysExceptionAndGoesOn) {
    knowAirports({"EHAM", "EGLL"});
    g_publisherGroups() = {{"Pub"}};
    g_thirdParties20() = {{"Pub", {"EGLL"}}};
    const fs::path community = folder / "Community";
    // The simulator knows no EHAM: its exception record ends that entry only.
    writeFile(community / "a-eham/ap.bgl", bglFileOf({BglAirport{"EHAM", 0, {}, {}}}));
    writeFile(community / "b-Pub-egll/ap.bgl", bglFileOf({BglAirport{"EGLL", 0, {}, {}}}));
    writeFile(community / "c-AIRCRAFT/Pub-egll/ap.bgl", bglFileOf({BglAirport{"EGLL", 0, {}, {}}}));
    writeFile(community / "d-Pub-egll/Statics/ap.bgl", bglFileOf({BglAirport{"EGLL", 0, {}, {}}}));
    writeFile(community / "e-Pub-egll/statics/ap.bgl", bglFileOf({BglAirport{"EGLL", 0, {}, {}}}));
    writeFile(community / "f-Pub-egll/noairport.bgl", "not a BGL file at all");
    lf_scanAirportFolder(community);
    const std::string report = reportText();
    EXPECT_NE(report.find("===>  airports search in folder " + community.string() +
                          " aborted, cause: 111: restart"),
              std::string::npos);
    EXPECT_EQ(readFile(g_myThirdpartyFolder / "EGLL.txt"), "archive/thirdparty/Pub/EGLL.xml\n");
    std::vector<std::string> handled;
    for (const std::string& line : g_scanReport) {
        if (line.rfind("\nFac: ", 0) == 0) handled.push_back(line.substr(6 + community.string().size() + 1));
    }
    EXPECT_EQ(handled,
              (std::vector<std::string>{mrwtest::nativePath("a-eham/ap.bgl"), mrwtest::nativePath("b-Pub-egll/ap.bgl"),
                                        mrwtest::nativePath("d-Pub-egll/Statics/ap.bgl")}));
}

}  // namespace

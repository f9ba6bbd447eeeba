// The liveries scan end to end: a packages folder built in the test, scanned in automatic and
// manual mode, with LiveriesScanned.xml, the report files and the log lines checked.

#include "aircraft/liveries_scan.h"
#include "aircraft/code_tables.h"
#include "aircraft/liveries_scan_internal.h"
#include "aircraft/liveries_scanned_xml.h"
#include "aircraft/livery_folders.h"
#include "aircraft/livery_scan_pool.h"
#include "aircraft_test_support.h"
#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/file_names.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"
#include "liveries_test_support.h"
#include "platform/system/message_box.h"
#include "platform/system/shell.h"
#include "support/process_data_directory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace fs = std::filesystem;
using mrw::g_parameters;

std::string utf16le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

class LiveriesScan : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::seedLiveriesDatabase();
        fs::create_directories(mrw::g_infoFolder);
        fs::create_directories(mrw::g_docsFolder);
        auto& p = g_parameters();
        m_saved = {p.LIG_AUTOMATIC.current, p.LIG_PRIORITIZE.current, p.SCAN_LIVERIES.current};
        m_selector = p.AI_PACKAGE_SELECTOR.current.get();
        m_installPath = p.MSFS_INSTALL_PATH.current.get();
        p.LIG_AUTOMATIC.current = true;
        p.LIG_PRIORITIZE.current = true;
        p.SCAN_LIVERIES.current = true;
        p.AI_PACKAGE_SELECTOR.current.set("AIG, FSLTL, JF, MTL");
        p.MSFS_INSTALL_PATH.current.set(path_to_utf8(fs::absolute("packages")));
        mrw::g_msfs2020 = true;
        mrw::g_scanThreadLimit = 3;
        mrw::g_scanThreadsRunning = 0;
        buildPackages();
    }

    void TearDown() override {
        auto& p = g_parameters();
        p.LIG_AUTOMATIC.current = m_saved[0];
        p.LIG_PRIORITIZE.current = m_saved[1];
        p.SCAN_LIVERIES.current = m_saved[2];
        p.AI_PACKAGE_SELECTOR.current.set(m_selector);
        p.MSFS_INSTALL_PATH.current.set(m_installPath);
        for (auto& lfolder : p.lfolder)
            lfolder.current.set("");
        mrw::g_stopRequested = false;
        mrw::g_scannedLiveries().clear();
        mrwtest::resetAircraftData();
    }

    static std::string path_to_utf8(const fs::path& path) { return path.string(); }

    static void write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        mrwtest::writeFile(file, text);
    }

    // Community with small AIG-, FSLTL-, IVAO- and user-style packages, a few malformed files, a
    // file whose name holds a package word, and a folder name no code page holds.
    void buildPackages() {
        const fs::path community = "packages/Community";
        const fs::path aig = community / "aig-aitraffic-oci-beta/SimObjects/Airplanes";
        write(aig / "AIG_B738/aircraft.cfg",
              "[General]\nicao_type_designator=B738\n"
              "[fltsim.0]\ntitle=AIG KLM 1\nicao_airline=KLM\n"
              "[fltsim.1]\ntitle=AIG KLM 2\nicao_airline=KLM\natc_id=PH-AAA\n"
              "[fltsim.2]\ntitle=Shared Title\nicao_airline=DLH\n");
        write(aig / "AIG_A320/aircraft.cfg",
              "icao_type_designator=A320\n[fltsim.0]\ntitle=AIG EZY A320\nicao_airline=EZY\ndescription=" +
                  std::string(100 * 1024, 'd') + "\n");
        write(aig / "AIG_Empty/aircraft.cfg", "[General]\nicao_type_designator=B738\n");
        write(aig / "AIG_Bad/aircraft.cfg", "icao_type_designator=B738\n[fltsim.10001]\ntitle=Bad\n");
        write(aig / "AIG_Overflow/aircraft.cfg",
              "icao_type_designator=B738\n[fltsim.99999999999]\ntitle=Overflow\n");
        write(aig / "AIG_Bin/aircraft.cfg",
              std::string("\x00\x01\x02\xFF[fltsim.", 12) + std::string(5000, '\xFE'));

        const fs::path fsltl = community / "fsltl-traffic-base/SimObjects/Airplanes";
        write(fsltl / "FSLTL_B738/aircraft.cfg",
              "icao_type_designator=B738\n[fltsim.0]\ntitle=FSLTL KLM 1\nicao_airline=KLM\n"
              "[fltsim.1]\ntitle=Shared Title\nicao_airline=DLH\n");
        write(fsltl / "FSLTL_A320/aircraft.cfg",
              utf16le(
                  "icao_type_designator=A320\r\n[fltsim.0]\r\ntitle=FSLTL TRA A320\r\nicao_airline=TRA\r\n"));

        const fs::path ivao = community / "IVAO_MTL/SimObjects/Airplanes/IVAO_B744";
        fs::create_directories(ivao / "texture.DLH");
        write(ivao / "aircraft.cfg", "[fltsim.0]\ntitle=B744 DLH Cargo\ntexture=DLH\n");

        write(community / "user-aitraffic/SimObjects/Airplanes/Mine/aircraft.cfg",
              "icao_type_designator=C172\n[fltsim.0]\ntitle=User PVT C172\n");
        // Examined by the FSLTL finder before its package; no code page holds its name.
        write(community / "a\xCF\x89-aircraft-pack/aircraft.cfg", "");
        write(community / "justflight-fstraffic-module.txt", "a file, not a package");
        fs::create_directories("packages/Official");
    }

    static std::vector<std::string> scannedElements() {
        std::vector<std::string> elements;
        for (const std::string& line : mrwtest::readLines(mrw::g_liveriesScannedFile)) {
            const auto start = line.find("<l ");
            if (start != std::string::npos) elements.push_back(line.substr(start));
        }
        return elements;
    }

    bool logHas(const std::string& text) const { return m_folder.logText().find(text) != std::string::npos; }

    mrwtest::LoggedProgramFolder m_folder;
    std::array<bool, 3> m_saved{};
    std::string m_selector;
    std::string m_installPath;
};

TEST_F(LiveriesScan, AutomaticScanWritesPrioritizedSortedLiveriesAndReports) {
    ASSERT_EQ(mrw::gf_scanLiveries(), mrw::LiveriesScanResult::Completed);

    EXPECT_EQ(scannedElements(), (std::vector<std::string>{
                                     "<l a=\"DLH\" m=\"B738\" t=\"Shared Title\" />",
                                     "<l a=\"DLH\" m=\"B744\" t=\"B744 DLH Cargo\" />",
                                     "<l a=\"EZY\" m=\"A320\" t=\"AIG EZY A320\" />",
                                     "<l a=\"KLM\" m=\"B738\" t=\"AIG KLM 1\" />",
                                     "<l a=\"KLM\" m=\"B738\" t=\"AIG KLM 2\" r=\"PH-AAA\" />",
                                     "<l a=\"PVT\" m=\"C172\" t=\"User PVT C172\" />",
                                     "<l a=\"TRA\" m=\"A320\" t=\"FSLTL TRA A320\" />",
                                 }));
    EXPECT_TRUE(mrw::g_scannedLiveries().empty());
    EXPECT_FALSE(g_parameters().SCAN_LIVERIES.current);

    const std::string aig = fs::absolute("packages/Community/aig-aitraffic-oci-beta").string();
    const std::string fsltl = fs::absolute("packages/Community/fsltl-traffic-base").string();
    EXPECT_EQ(
        mrwtest::readLines(mrw::g_invalidAircraftCfgFilesFile),
        (std::vector<std::string>{aig + mrwtest::nativePath("/SimObjects/Airplanes/AIG_Bad/aircraft.cfg") +
                                      " contains a "
                                      "[fltsim.x] section with a number < 0 or > 10000",
                                  "Line icao_type_designator= is missing in [General] section of " + aig +
                                      mrwtest::nativePath("/SimObjects/Airplanes/AIG_Bin/aircraft.cfg")}));
    EXPECT_EQ(mrwtest::readLines(mrw::g_noFltsimSectionFile),
              (std::vector<std::string>{
                  aig + mrwtest::nativePath("/SimObjects/Airplanes/AIG_Empty/aircraft.cfg")}));
    const auto incomplete = mrwtest::readLines(mrw::g_incompleteFltsimSectionsFile);
    EXPECT_NE(std::find(incomplete.begin(), incomplete.end(),
                        fsltl + mrwtest::nativePath("/SimObjects/Airplanes/FSLTL_B738") +
                            " [fltsim.1] title 'Shared Title' already exists"),
              incomplete.end());

    for (const std::string& line : std::vector<std::string>{
             "liveries scan automatic starts", "Automatic AIG scan found folder: '" + aig + "'",
             "Automatic user-aitraffic scan found folder: '", "4 liveries found in " + aig,
             "2 liveries found in " + fsltl, "1 liverie found in ", "8 in total",
             "==> fltsim num [fltsim.99999999999] incorrect",
             "7 liveries in " + mrwtest::nativePath("output/LiveriesScanned.xml"), "\nErrors:\n",
             "liveries scan ends"}) {
        EXPECT_TRUE(logHas(line)) << line;
    }
    // A file whose name holds a package word is taken by its finder and then skipped.
    EXPECT_TRUE(logHas("Automatic JF scan found folder: '"));
    EXPECT_TRUE(logHas("justflight-fstraffic-module.txt is not a folder name, skipped!"));
}

// The charset is judged by the first 4096 bytes: a Windows-1252 byte after them still reaches
// LiveriesScanned.xml as valid UTF-8, and the finished scan stores SCAN_LIVERIES off.
TEST_F(LiveriesScan, LateWindows1252ByteBecomesUtf8AndTheScanIsStoredOff) {
    mrwtest::useProcessDataDirectory();
    write("packages/Community/aig-aitraffic-oci-beta/SimObjects/Airplanes/AIG_A320_Late/aircraft.cfg",
          "icao_type_designator=A320\n; " + std::string(5000, 'c') +
              "\n[fltsim.0]\ntitle=AIG Caf\xE9 A320\nicao_airline=KLM\n");
    ASSERT_EQ(mrw::gf_scanLiveries(), mrw::LiveriesScanResult::Completed);
    const std::string scanned = mrwtest::readFile(mrw::g_liveriesScannedFile);
    EXPECT_TRUE(mrw::gf_isValidUtf8(scanned));
    const std::vector<std::string> elements = scannedElements();
    EXPECT_NE(
        std::find(elements.begin(), elements.end(), "<l a=\"KLM\" m=\"A320\" t=\"AIG Caf\xC3\xA9 A320\" />"),
        elements.end());
    pugi::xml_document parameters;
    ASSERT_TRUE(mrw::gf_loadParametersDocument(parameters));
    EXPECT_EQ(mrw::gf_readBoolParameter(parameters, "SCAN_LIVERIES"), false);
}

// Of two folders that the AIG finder takes, only the first in name order is searched.
TEST_F(LiveriesScan, PackageFinderTakesOnlyTheFirstMatchingFolder) {
    fs::create_directories("packages/Community/aig-aitraffic-oci-second/SimObjects");
    mrw::LiveryFolderList folders;
    mrw::gf_autoDetectAiPackages("packages/Community", folders);
    std::vector<std::string> aig;
    for (const auto& folder : folders) {
        const std::string name = fs::path(folder).filename().string();
        if (name.find("aig-aitraffic-oci") != std::string::npos) aig.push_back(name);
    }
    EXPECT_EQ(aig, std::vector<std::string>{"aig-aitraffic-oci-beta"});
}

TEST_F(LiveriesScan, ManualScanGivesPrioritiesByParameterAndKeepsAllWithoutThinning) {
    auto& p = g_parameters();
    p.LIG_AUTOMATIC.current = false;
    p.LIG_PRIORITIZE.current = false;
    p.lfolder[0].current.set("packages/Community/aig-aitraffic-oci-beta");
    p.lfolder[2].current.set("packages/Community/fsltl-traffic-base");
    p.lfolder[3].current.set("packages/Community/justflight-fstraffic-module.txt");
    ASSERT_EQ(mrw::gf_scanLiveries(), mrw::LiveriesScanResult::Completed);
    mrw::gf_readLiveriesScanned();
    std::vector<std::string> titles;
    for (const auto& l : mrw::g_scannedLiveries())
        titles.push_back(l.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Shared Title", "AIG EZY A320", "AIG KLM 1", "AIG KLM 2",
                                                "FSLTL KLM 1", "FSLTL TRA A320"}));
    EXPECT_TRUE(logHas("packages/Community/justflight-fstraffic-module.txt is not a folder name, skipped!"));
    EXPECT_TRUE(logHas("\n2 liveries found in packages/Community/fsltl-traffic-base\n"));

    // A second scan in the same process starts from nothing: no title of the first is taken, no
    // report line repeated.
    ASSERT_EQ(mrw::gf_scanLiveries(), mrw::LiveriesScanResult::Completed);
    EXPECT_EQ(scannedElements().size(), 6u);
    const auto incomplete = mrwtest::readLines(mrw::g_incompleteFltsimSectionsFile);
    EXPECT_EQ(std::count_if(incomplete.begin(), incomplete.end(),
                            [](const std::string& l) {
                                return l.find("'Shared Title' already exists") != std::string::npos;
                            }),
              1);
}

TEST_F(LiveriesScan, ThinningKeepsEveryLiveryOfTheSmallestPriorityPerCombination) {
    std::list<mrw::LiveryData> list;
    const auto add = [&](const char* title, const char* airline, const char* op, int priority, bool cargo) {
        list.push_back(mrwtest::makeLivery(title, airline, op, "B738", {}, cargo));
        list.back().priority = static_cast<std::int16_t>(priority);
    };
    add("f2 a", "KLM", "", 2, false);
    add("f1 a", "KLM", "", 1, false);
    add("f2 b", "KLM", "", 2, false);
    add("f1 b", "KLM", "", 1, true);  // cargo is no part of the combination
    add("f2 op", "KLM", "TRA", 2, false);
    add("f10 x", "EZY", "", 10, false);
    add("f10 y", "EZY", "", 10, false);
    mrw::gf_thinByPriority(list);
    std::vector<std::string> titles;
    for (const auto& l : list)
        titles.push_back(l.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"f1 a", "f1 b", "f2 op", "f10 x", "f10 y"}));
}

TEST_F(LiveriesScan, NoFolderOrNoLiveryIsAUserError) {
    const auto errorOf = [] {
        try {
            mrw::gf_scanLiveries();
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    auto& p = g_parameters();
    mrwtest::writeFile(mrw::g_liveriesScannedFile, "<root/>");
    p.MSFS_INSTALL_PATH.current.set(fs::absolute("elsewhere").string());
    fs::create_directories("elsewhere/Community/unrelated");
    EXPECT_EQ(errorOf().substr(0, 3), "43:");
    EXPECT_TRUE(fs::exists(mrw::g_liveriesScannedFile));  // nothing removed before 43

    fs::create_directories("elsewhere/Community/user-aitraffic");
    EXPECT_EQ(errorOf().substr(0, 4), "143:");
    EXPECT_FALSE(fs::exists(mrw::g_liveriesScannedFile));

    p.LIG_AUTOMATIC.current = false;
    {
        platform::ShellRecorder shell;
        platform::MessageBoxRecorder boxes;
        EXPECT_EQ(errorOf(),
                  "48: Exit Merrowvale first!   Then set one or more lfolder parameters to your liveries, "
                  "see Manual 5.2");
        // docs holds no Manual.pdf.
        ASSERT_FALSE(boxes.shown().empty());
        EXPECT_EQ(boxes.shown()[0].text, "Could not open local folder with Manual");
        EXPECT_EQ(boxes.shown()[0].caption, "MRWV");
    }
    p.lfolder[1].current.set("elsewhere/Community/unrelated");
    EXPECT_EQ(errorOf(), "53: no liveries found");
    p.lfolder[3].current.set("missing-folder");
    EXPECT_EQ(errorOf(), "243: the path pointed to by parameter 'lfolder3' does not exist, see Log.txt!");
    EXPECT_TRUE(logHas("==> lfolder3: 'missing-folder' does not exist"));
    EXPECT_TRUE(p.SCAN_LIVERIES.current);
}

TEST_F(LiveriesScan, AStoppedScanReportsStoppedAndLeavesScanLiveriesOn) {
    mrw::g_stopRequested = true;
    EXPECT_EQ(mrw::gf_scanLiveries(), mrw::LiveriesScanResult::Stopped);
    EXPECT_TRUE(g_parameters().SCAN_LIVERIES.current);
    EXPECT_FALSE(fs::exists(mrw::g_liveriesScannedFile));
    EXPECT_FALSE(fs::exists(mrw::g_errorsFolder));
}

TEST_F(LiveriesScan, AFailedSaveIsAnErrorAndLeavesScanLiveriesOn) {
    // A folder in the file's place that the removal cannot take away.
    fs::create_directories(mrw::g_liveriesScannedFile);
    mrwtest::writeFile(mrw::g_liveriesScannedFile / "x", "");
    try {
        mrw::gf_scanLiveries();
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Writing " + mrwtest::nativePath("output/LiveriesScanned.xml") + " failed, see Log.txt");
    }
    EXPECT_TRUE(g_parameters().SCAN_LIVERIES.current);
    EXPECT_TRUE(logHas("==> Failed to write " + mrwtest::nativePath("output/LiveriesScanned.xml")));
    EXPECT_TRUE(fs::exists(mrw::g_incompleteFltsimSectionsFile));  // the reports are still written
}

}  // namespace

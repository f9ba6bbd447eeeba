// The main worker's start-up: program folder, install path, databases, RealTraffic mode, folders
// and the errors that end a run as SYSTEM ERROR.

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "airports/airports_database.h"
#include "app/edit_fields.h"
#include "app/main_window.h"
#include "app/win32_control_surface.h"
#include "config/control_surface.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "platform/simconnect/simconnect_library.h"
#include "run/main_worker.h"
#include "run/main_worker_internal.h"
#include "run/run_end.h"
#include "run/run_test_support.h"
#include "support/scripted_simconnect_files.h"
#include "support/test_support.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/sim/sim_client.h"

namespace fs = std::filesystem;
using namespace mrw;

namespace {

// A program folder made from the built one (docs and the data files) and a packages folder for the
// 2020 simulator in a folder named beyond ASCII (as a Windows user's may be), stored in its
// install-path setting. Restarts skip the updater.
class StartUp : public mrwtest::RunTest {
  protected:
    StartUp() {
        mrwtest::copyFolderInto(fs::path(MRW_PROGRAM_DIR), m_folder.path());
        fs::create_directories(packages() / "Community");
        fs::create_directories(packages() / "Official");
        g_parameters().MSFS_INSTALL_PATH.setAndSave(path_to_utf8(packages()));
        g_restartPending = true;
        g_msfs2020 = true;
        mrwtest::forgetDatabases();  // each test is the process's first start-up
    }
    ~StartUp() override {
        fs::remove_all(gf_appDataPath() / "InsideSystems");
        g_restartPending = false;
        mrwtest::forgetDatabases();
    }
    // A liveries file from an earlier scan, so that the start-up scans nothing.
    static void writeScannedLiveries() {
        g_parameters().SCAN_LIVERIES.current = false;
        g_parameters().SCAN_LIVERIES.save();
        fs::create_directories(g_outputFolder);
        mrwtest::writeFile(g_liveriesScannedFile,
                           "<?xml version=\"1.0\"?><root><meta><info name=\"copyright\" value=\"c\"/>"
                           "<info name=\"sim\" value=\"1\"/></meta>"
                           "<liveries><l a=\"KLM\" m=\"B738\" t=\"KLM 1\"/></liveries></root>");
    }
    std::size_t logCount(const std::string& text) const {
        const std::string all = log();
        std::size_t count = 0;
        for (auto at = all.find(text); at != std::string::npos; at = all.find(text, at + 1))
            ++count;
        return count;
    }

    fs::path packages() const { return m_packages.path() / utf8_to_path("M\u00fcller_\u65e5\u672c"); }

    mrwtest::TempDir m_packages;
};

TEST_F(StartUp, CommunityEndingIsCutOnlyWhenItIsTheLastFolder) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"D:\\MSFS\\Community", "D:\\MSFS"},
        {"E:\\Community\\MSFS\\Community", "E:\\Community\\MSFS"},
        {"D:\\MSFS\\community", "D:\\MSFS\\community"},
        {"/mnt/msfs/Community", "/mnt/msfs"},
        {"\\Community", ""},
        {"Community", "Community"},
        {"D:\\MyCommunity", "D:\\MyCommunity"},
    };
    StringParameter& installPath = g_parameters().MSFS_INSTALL_PATH;
    for (const auto& [stored, expected] : cases) {
        installPath.current.set(stored);
        gf_cutCommunityEnding(installPath);
        EXPECT_EQ(installPath.current.get(), expected) << stored;
    }
}

TEST_F(StartUp, DetectionReadsTheDatabasesOncePerProcess) {
    ASSERT_TRUE(lf_detectInstallation());
    EXPECT_TRUE(g_dbaseLoaded);
    EXPECT_FALSE(g_airports.empty());
    EXPECT_EQ(g_parameters().ALL_INSTALL_PATH.current.get(), path_to_utf8(packages()));
    for (const fs::path& folder :
         {g_infoFolder, g_errorsFolder, g_learnedStockFolder, g_learnedSimaddonFolder,
          g_learnedThirdpartyFolder, g_mySimaddonFolder, g_myThirdpartyFolder, g_myRegcodesFolder}) {
        EXPECT_TRUE(fs::is_directory(folder)) << path_to_utf8(folder);
    }
    EXPECT_EQ(g_parameters().parking_percentage.current, 30);
    EXPECT_TRUE(g_nowButtonAllowed);
    EXPECT_GT(g_weekSlotNow.load(), 0);

    // A second run of the process reads neither database again.
    mrwtest::writeFile(g_objectIdListFile, "old list");
    ASSERT_TRUE(lf_detectInstallation());
    EXPECT_EQ(logCount("ICAO model codes"), 1u);
    EXPECT_EQ(logCount("airports read"), 1u);
    EXPECT_FALSE(fs::exists(g_objectIdListFile));
}

TEST_F(StartUp, RealTrafficModeFollowsTheAddressAndTheInstallation) {
    StringParameter& address = g_parameters().RT_IP_ADDRESS;

    ASSERT_TRUE(lf_detectInstallation());
    EXPECT_EQ(g_realTrafficMode, RealTrafficMode::OtherPc);
    EXPECT_EQ(messageLine(), "RealTraffic not detected at this PC");

    fs::create_directories(gf_appDataPath() / "InsideSystems");
    mrwtest::writeFile(gf_appDataPath() / "InsideSystems" / "RealTraffic.jar", "jar");
    ASSERT_TRUE(lf_detectInstallation());
    EXPECT_EQ(g_realTrafficMode, RealTrafficMode::ThisPc);
    EXPECT_EQ(messageLine(), "RealTraffic detected at this PC");

    address.setAndSave("192.168.1.20");
    gf_setMessage("", false);
    ASSERT_TRUE(lf_detectInstallation());
    EXPECT_EQ(g_realTrafficMode, RealTrafficMode::ConfiguredAddress);
    EXPECT_EQ(messageLine(), "");
    address.setAndSave(address.defaultValue.get());
}

TEST_F(StartUp, AFolderWithoutDocsEndsTheRunAsSystemError) {
    fs::remove_all(g_docsFolder);
    m_clock.setSleepHook([](SteadyTime, SteadyTime) { g_windowClosing = true; });
    lf_startUpMRWV();
    EXPECT_EQ(errorLine(), "41: Merrowvale must be run from the Merrowvale folder!");
    EXPECT_EQ(g_exitReason, ExitReason::SystemError);
    EXPECT_NE(log().find("Exiting: SYSTEM ERROR"), std::string::npos);
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_QUIT});
}

TEST_F(StartUp, ASystemErrorKeepsAnEarlierCloseOrError) {
    const std::vector<std::pair<ExitReason, ExitReason>> cases{
        {ExitReason::NewSettings, ExitReason::SystemError},
        {ExitReason::UserClosedSim, ExitReason::UserClosedSim},
        {ExitReason::ReaderError, ExitReason::ReaderError},
        {ExitReason::SimConnectError, ExitReason::SimConnectError},
    };
    fs::remove_all(g_docsFolder);
    m_clock.setSleepHook([](SteadyTime, SteadyTime) { g_windowClosing = true; });
    for (const auto& [earlier, expected] : cases) {
        SCOPED_TRACE(gf_exitReasonName(earlier));
        mrwtest::resetRunSettings();
        g_exitReason = earlier;
        lf_startUpMRWV();
        const std::string text = log();
        const std::size_t exiting = text.rfind("Exiting: ");
        ASSERT_NE(exiting, std::string::npos);
        EXPECT_EQ(text.substr(exiting, text.find('\n', exiting) - exiting),
                  fmt::format("Exiting: {}", gf_exitReasonName(expected)));
    }
}

TEST_F(StartUp, AStoredDestinationThatIsNoCodeEndsTheRunAsSystemError) {
    writeScannedLiveries();
    g_parameters().DESTINATION.setAndSave("EHA");
    m_clock.setSleepHook([](SteadyTime, SteadyTime) { g_windowClosing = true; });
    lf_startUpMRWV();
    EXPECT_EQ(errorLine(), "'EHA' FixedCode: invalid string (length/charset)");
    EXPECT_EQ(g_exitReason, ExitReason::SystemError);
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_QUIT});
    // The run end empties the destination for the next start.
    EXPECT_TRUE(g_parameters().DESTINATION.current.empty());
}

TEST_F(StartUp, AWindowClosedDuringTheStartUpEndsItAsUserClosedSim) {
    writeScannedLiveries();
    gf_markClosing();
    lf_startUpMRWV();
    EXPECT_EQ(g_exitReason, ExitReason::UserClosedSim);
    EXPECT_NE(log().find("Exiting: USER CLOSED SIM"), std::string::npos);
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_QUIT});
}

// At a first start without a packages folder the run ends on error 150 and waits for the window.
// Meanwhile the settings stay usable (the airports scan can be switched off before the first run
// that does it), and a Community path typed then restarts the run, as its message says.
TEST_F(StartUp, APathTypedAfterANotFoundInstallPathRestartsTheRun) {
    writeScannedLiveries();
    ParameterCatalogue& p = g_parameters();
    p.MSFS_INSTALL_PATH.setAndSave("");
    gf_registerWin32ControlSurface();
    struct ScanBox {
        explicit ScanBox(HWND parent) {
            g_parameters().SCAN_AIRPORTS.hwnd = CreateWindowExW(0, u"button", u"", WS_CHILD | BS_CHECKBOX, 0,
                                                                0, 12, 12, parent, nullptr, nullptr, nullptr);
            EnableWindow(g_parameters().SCAN_AIRPORTS.hwnd, FALSE);  // as the start-up leaves it
        }
        ~ScanBox() {
            g_parameters().SCAN_AIRPORTS.hwnd = nullptr;
            gf_setControlSurface(nullptr);
        }
    } const scanBox(m_window);
    const std::string typed = path_to_utf8(packages());
    bool scanBoxUsable = false;
    std::string shown;
    // The user waits for the box to be usable, types the path once, and closes the window when
    // nothing happens.
    int waits = 0;
    m_clock.setSleepHook([&](SteadyTime, SteadyTime) {
        if (g_exitReason != ExitReason::SystemError) return;
        if (!scanBoxUsable && errorLine().starts_with("150: ") && gf_controlEnabled(p.SCAN_AIRPORTS)) {
            scanBoxUsable = true;
            lf_checkInstallPath(p.MSFS_INSTALL_PATH, typed);
            shown = messageLine();
        } else if (++waits > 10) {
            g_windowClosing = true;
        }
    });

    lf_startUpMRWV();

    EXPECT_TRUE(scanBoxUsable);
    EXPECT_EQ(shown, "Community path found, Merrowvale will restart ...");
    EXPECT_EQ(p.MSFS_INSTALL_PATH.current.get(), typed);
    const std::string text = log();
    EXPECT_NE(text.find("Exiting: SYSTEM ERROR"), std::string::npos);
    EXPECT_NE(text.find("Restarting after 3 seconds"), std::string::npos);
    EXPECT_EQ(postedRunMessages(), std::vector<UINT>{WM_APP_START_RUN});
    EXPECT_TRUE(g_restartPending);
    EXPECT_FALSE(g_stopRequested);
}

// A path typed while the run ends for good asks the user to start the program again.
TEST_F(StartUp, APathTypedWhileTheRunEndsForGoodAsksForAStart) {
    ASSERT_TRUE(gf_stopWithReason(ExitReason::NewFlight, 0));
    lf_checkInstallPath(g_parameters().MSFS_INSTALL_PATH, path_to_utf8(packages()));
    EXPECT_EQ(messageLine(), "Community path found, please start Merrowvale again");
    EXPECT_EQ(g_exitReason, ExitReason::NewFlight);
}

// Without SimConnect the run does not start: the message line and Log.txt say what is missing and
// where; the window stays until the user closes it, and no client thread ran.
TEST_F(StartUp, AMissingSimConnectLibraryOrFunctionStopsTheRunUntilTheWindowCloses) {
    const fs::path beside = fs::path("C:\\Merrowvale") / "SimConnect.dll";
    const fs::path sdk = fs::path("D:\\MSFS SDK") / "SimConnect SDK" / "lib" / "SimConnect.dll";
    const auto withoutOpen = mrwtest::ScriptedSimConnectFiles::allFunctionsBut("SimConnect_Open");
    struct Case {
        const char* name;
        std::map<fs::path, std::set<std::string>> files;
        std::vector<fs::path> places;
        std::string error;
    };
    const std::vector<Case> cases{
        {"no file",
         {},
         {beside, sdk},
         fmt::format("SimConnect.dll not found: looked in {} and {}", path_to_utf8(beside),
                     path_to_utf8(sdk))},
        {"no file, MSFS_SDK unset",
         {},
         {beside},
         fmt::format("SimConnect.dll not found: looked in {} (MSFS_SDK is not set)", path_to_utf8(beside))},
        {"no SimConnect_Open",
         {{sdk, withoutOpen}},
         {beside, sdk},
         fmt::format("{} has no function SimConnect_Open", path_to_utf8(sdk))},
    };
    writeScannedLiveries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mrwtest::resetRunSettings();
        mrwtest::ScriptedSimConnectFiles files;
        files.files = c.files;
        const platform::SimConnectFilesOverride scripted(files, c.places);
        // The user reads the message line, then closes the window.
        m_clock.setSleepHook([](SteadyTime, SteadyTime) {
            if (!errorLine().empty()) g_windowClosing = true;
        });
        const std::size_t postedBefore = postedRunMessages().size();
        lf_startUpMRWV();
        EXPECT_EQ(errorLine(), c.error);
        EXPECT_NE(log().find("Error " + c.error), std::string::npos);
        EXPECT_FALSE(g_simClientThread.joinable());
        EXPECT_EQ(g_exitReason, ExitReason::SystemError);
        // After the close the run end quits.
        const std::vector<UINT> posted = postedRunMessages();
        EXPECT_EQ(posted.size(), postedBefore + 1);
        EXPECT_EQ(posted.back(), WM_APP_QUIT);
    }
}

}  // namespace

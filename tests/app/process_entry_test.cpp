#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "app/process_entry.h"
#include "app/process_entry_internal.h"
#include "foundation/file_system.h"
#include "platform/system/message_box.h"
#include "platform/system/single_instance.h"
#include "support/process_data_directory.h"
#include "support/scoped_environment.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using mrwtest::MainWindowTest;

TEST(ProductionSwitchTest, TheLastProductionSwitchWinsWithoutRegardToCase) {
    struct Case {
        std::vector<std::u16string> arguments;
        std::optional<bool> wanted;
    };
    const Case cases[] = {
        {{}, std::nullopt},
        {{u"--PRODUCTION"}, true},
        {{u"/production", u"--no-production"}, false},
        {{u"--no-production", u"/Production"}, true},
        {{u"-production"}, std::nullopt},
        {{u"--production", u"other", u"--productionx"}, true},
        {{u"/NO-PRODUCTION"}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mrw::gf_productionSwitch(c.arguments), c.wanted) << c.arguments.size() << " arguments";
    }
}

class WindowPlacementTest : public MainWindowTest {
  protected:
    void SetUp() override {
        createWindowInSetUp = false;
        MainWindowTest::SetUp();
    }
    RECT windowRect() const {
        RECT rect{};
        GetWindowRect(window(), &rect);
        return rect;
    }
};

TEST_F(WindowPlacementTest, SavedPositionsAreRepairedAndKeptOnTheMonitor) {
    struct Case {
        std::int32_t savedX;
        std::int32_t savedY;
        LONG left;
        LONG top;
    };
    // The primary work area (1920 x 1080 at (0, 0) in the stand-in); the window does not exist yet
    // when the rule runs, so the corner itself stays 48 pixels inside.
    const RECT work = mrwtest::primaryWorkArea();
    const Case cases[] = {
        {100, 200, 100, 200}, {-40000, 60, 400, 60},  // read as the minimum, replaced by the fallback
        {30000, 50, 400, 50},                         // the maximum, the same
        {400, 20, 400, 48},   {5000, 5000, work.right - 48, work.bottom - 48},
        {-10, -10, 48, 48},
    };
    for (const Case& c : cases) {
        mrwtest::writeSavedInts({{"MAIN_WINDOW_X", c.savedX}, {"MAIN_WINDOW_Y", c.savedY}});
        createWindow();
        const RECT rect = windowRect();
        EXPECT_EQ(rect.left, c.left) << c.savedX;
        EXPECT_EQ(rect.top, c.top) << c.savedY;
        EXPECT_EQ(rect.right - rect.left, 880);
        EXPECT_EQ(rect.bottom - rect.top, 516);
        if (c.left != c.savedX) {
            EXPECT_EQ(mrwtest::savedInt("MAIN_WINDOW_X"), c.left) << "the repair is saved";
        }
        DestroyWindow(window());
    }
}

TEST_F(WindowPlacementTest, WithoutParametersXmlTheWindowOpensAtTheDefaults) {
    fs::remove(mrw::g_parametersFile());
    createWindow();
    EXPECT_EQ(windowRect().left, 400);
    EXPECT_EQ(windowRect().top, 20);
    EXPECT_FALSE(fs::exists(mrw::g_parametersFile())) << "nothing is saved without the monitor check";
    EXPECT_TRUE(IsWindowVisible(window()));
}

TEST_F(WindowPlacementTest, AnUnparsableParametersXmlIsKeptAsGenerationZeroAndRemoved) {
    mrwtest::writeFile(mrw::g_parametersFile(), "<root><parameters><parameter name=");
    createWindow();
    EXPECT_EQ(windowRect().left, 400);
    EXPECT_EQ(windowRect().top, 20);
    EXPECT_FALSE(fs::exists(mrw::g_parametersFile()));
    const fs::path generation = mrw::g_dataDirectory() / "parameters0.xml";
    EXPECT_EQ(mrwtest::readFile(generation), "<root><parameters><parameter name=");
    EXPECT_NE(folder->logText().find("parameters.xml failed to load ("), std::string::npos);
    EXPECT_NE(folder->logText().find("). Saved as 0.xml and removed."), std::string::npos);
}

class EntryPointTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::useProcessDataDirectory();
        environment.set("XDG_RUNTIME_DIR", lockFolder.path().string());
    }
    mrwtest::TempDir lockFolder;  // the single-instance lock of this test alone
    mrwtest::ScopedEnvironment environment;
    mrwtest::ProgramFolder folder;
};

TEST_F(EntryPointTest, ASecondInstanceEndsAtOnceWritingNothing) {
    platform::SingleInstanceLock first("MRWV");
    ASSERT_EQ(first.state(), platform::InstanceLock::Acquired);
    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(wWinMain(nullptr, nullptr, nullptr, 1), -1);
    EXPECT_FALSE(fs::exists(folder / "Log.txt"));
    EXPECT_TRUE(boxes.shown().empty());
}

// The test program's command line holds no production switch: the start switches the mode off.
TEST_F(EntryPointTest, WithoutASwitchTheStartSwitchesProductionModeOff) {
    // The class registered already (as by the window tests): the start ends after reading its
    // command line, before any window or run exists.
    ASSERT_TRUE(mrwtest::registerMainWindowClass());
    mrw::g_productionMode = true;  // as an earlier start may have left it
    EXPECT_EQ(mrw::gf_runApplication(nullptr), 1);
    EXPECT_FALSE(mrw::g_productionMode);
    EXPECT_EQ(mrw::g_mainWindowView().hwnd.load(), nullptr);
}

TEST_F(EntryPointTest, ALogThatCannotBeOpenedShowsTheErrorAndEndsWithOne) {
    fs::create_directory(folder / "Log.txt");  // a folder where Log.txt should be written
    platform::MessageBoxRecorder boxes;
    EXPECT_EQ(wWinMain(nullptr, nullptr, nullptr, 1), 1);
    const auto shown = boxes.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_FALSE(shown[0].text.empty());
    EXPECT_EQ(shown[0].caption, "Merrowvale");
    EXPECT_EQ(mrw::g_mainWindowView().hwnd.load(), nullptr) << "no window after a failed start";
}

}  // namespace

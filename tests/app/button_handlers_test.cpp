#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "foundation/message_line.h"
#include "platform/system/message_box.h"
#include "platform/system/shell.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/static_parking.h"

namespace {

using mrwtest::MainWindowTest;
using mrwtest::messageLine;

class ButtonHandlersTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        auto& p = mrw::g_parameters();
        for (mrw::PushButton* button : {&p.unblockButton, &p.csToOidButton, &p.blockButton, &p.nowButton,
                                        &p.rereadButton, &p.flushStaticButton, &p.tbloZipButton})
            EnableWindow(button->hwnd, TRUE);  // as the run's control set-up does
        EnableWindow(p.DESTINATION.hwnd, TRUE);
    }
    void click(const mrw::PushButton& button) { ASSERT_TRUE(standin::click(button.hwnd)); }
};

TEST_F(ButtonHandlersTest, UnblockWithNothingBlockedOnlySaysSo) {
    auto& p = mrw::g_parameters();
    click(p.unblockButton);
    EXPECT_EQ(messageLine(), "Nothing to block or unblock...");
    EXPECT_EQ(folder->logText().find("Nothing to block"), std::string::npos) << "not logged";
    EXPECT_FALSE(IsWindowEnabled(p.blockButton.hwnd)) << "no callsign listed";
    EXPECT_FALSE(mrw::g_blockCallsignRequest);
}

TEST_F(ButtonHandlersTest, UnblockEndsTheBlockingOfTheCallsign) {
    auto& p = mrw::g_parameters();
    p.BLOCK_CALLSIGN.setAndSave("KLM123");
    p.CALLSIGN_2_OBJECTID.current.set("DAL45");
    click(p.unblockButton);
    EXPECT_EQ(p.BLOCK_CALLSIGN.current.get(), "");
    EXPECT_EQ(mrwtest::savedText("BLOCK_CALLSIGN"), "");
    EXPECT_EQ(GetWindowTextLengthW(p.BLOCK_CALLSIGN.hwnd), 0);
    EXPECT_FALSE(IsWindowEnabled(p.unblockButton.hwnd));
    EXPECT_TRUE(IsWindowEnabled(p.blockButton.hwnd)) << "a callsign is listed";
    EXPECT_EQ(messageLine(), "no more blocking of live aircraft 'KLM123'");
    EXPECT_NE(folder->logText().find("no more blocking of live aircraft 'KLM123'\n"), std::string::npos);
    EXPECT_TRUE(mrw::g_blockCallsignRequest);
}

TEST_F(ButtonHandlersTest, BlockTakesTheListedCallsign) {
    auto& p = mrw::g_parameters();
    p.CALLSIGN_2_OBJECTID.current.set("DAL45");
    mrw::g_selectedObjectId = 301;
    click(p.blockButton);
    EXPECT_EQ(mrwtest::savedText("BLOCK_CALLSIGN"), "DAL45");
    EXPECT_TRUE(IsWindowEnabled(p.unblockButton.hwnd));
    EXPECT_FALSE(IsWindowEnabled(p.blockButton.hwnd));
    EXPECT_EQ(mrw::g_selectedObjectId, 0u) << "the selection is cleared";
    EXPECT_TRUE(mrw::g_blockCallsignRequest);
}

TEST_F(ButtonHandlersTest, RequestButtonsRaiseTheirFlagAndWaitDisabled) {
    auto& p = mrw::g_parameters();
    click(p.csToOidButton);
    EXPECT_TRUE(mrw::g_csToOidRequest);
    EXPECT_FALSE(IsWindowEnabled(p.blockButton.hwnd));
    EXPECT_TRUE(IsWindowEnabled(p.csToOidButton.hwnd)) << "cs->oid: itself stays enabled";

    click(p.rereadButton);
    EXPECT_TRUE(mrw::g_rereadRequest);
    EXPECT_FALSE(IsWindowEnabled(p.rereadButton.hwnd));
    EXPECT_FALSE(IsWindowEnabled(p.DESTINATION.hwnd));

    click(p.flushStaticButton);
    EXPECT_TRUE(mrw::g_flushStaticRequest);
    EXPECT_FALSE(IsWindowEnabled(p.flushStaticButton.hwnd));
    EXPECT_EQ(messageLine(), "All static parked aircraft will be removed ...");
}

TEST_F(ButtonHandlersTest, NowAnnouncesTheUpdateAtTheNextFifteenSecondDuty) {
    auto& p = mrw::g_parameters();
    struct Case {
        bool fileLoaded;
        bool initialLoadOnly;
        std::int32_t runSecond;
        std::string message;  // "marker": the line was not touched
        bool requested;
    };
    const Case cases[] = {
        {false, false, 31, "marker", false},
        {true, true, 31, "", false},
        {true, false, 31, "Merrowvale will update static parking in 14 seconds ...", true},
        {true, false, 44, "Merrowvale will update static parking in 1 second ...", true},
        {true, false, 45, "Merrowvale will update static parking in 15 seconds ...", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.runSecond);
        mrw::g_parkFileLoaded = c.fileLoaded;
        p.INITIAL_LOAD_ONLY.current = c.initialLoadOnly;
        mrw::g_runSeconds = c.runSecond;
        mrw::g_parkingCountdown = 7;
        mrw::g_parkingUpdateRequest = false;
        mrw::gf_enableParkingControls();
        mrw::gf_setMessage("marker", false);
        click(p.nowButton);
        EXPECT_EQ(messageLine(), c.message);
        EXPECT_EQ(mrw::g_parkingUpdateRequest.load(), c.requested);
        EXPECT_EQ(mrw::g_parkingUpdateRunning.load(), c.requested);
        EXPECT_EQ(mrw::g_parkingCountdown.load(), c.requested ? 20 : 7);
        if (c.requested) {
            EXPECT_EQ(mrw::g_mainWindow().minutesToParkingUpdate, 20);
            EXPECT_FALSE(IsWindowEnabled(p.MAX_LIVE_SEL.hwnd)) << "the parking controls wait for the update";
        }
    }
    mrw::g_parkFileLoaded = false;
}

TEST_F(ButtonHandlersTest, TbloZipOpensItsFolderOrWarns) {
    auto& p = mrw::g_parameters();
    platform::ShellRecorder shell;
    platform::MessageBoxRecorder boxes;
    const auto paints = standin::paintCount(window());
    click(p.tbloZipButton);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Could not open File Explorer at tblo.zip.");
    EXPECT_EQ(boxes.shown()[0].caption, "MRWV");
    EXPECT_TRUE(shell.openedFolders().empty());
    EXPECT_GT(standin::paintCount(window()), paints) << "not handled: the panel is repainted";

    mrwtest::writeFile(folder->path() / "tblo" / "tblo.zip", "zip");
    click(p.tbloZipButton);
    EXPECT_EQ(boxes.shown().size(), 1u);
    ASSERT_EQ(shell.openedFolders().size(), 1u);
    EXPECT_EQ(std::filesystem::canonical(shell.openedFolders()[0]),
              std::filesystem::canonical(folder->path() / "tblo"));
}

TEST_F(ButtonHandlersTest, AnyNotificationOfAButtonRunsItsAction) {
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(0x8059, 0x0005),
                 reinterpret_cast<LPARAM>(mrw::g_parameters().flushStaticButton.hwnd));
    EXPECT_TRUE(mrw::g_flushStaticRequest);
}

}  // namespace

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>

#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "app/window_procedure.h"
#include "config/parameter_catalogue.h"
#include "run/run_end.h"

namespace {

using mrwtest::MainWindowTest;

class WindowProcedureTest : public MainWindowTest {
  protected:
    void TearDown() override {
        mrw::g_stopRequested = false;
        mrw::g_windowClosing = false;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        MainWindowTest::TearDown();
    }

    std::string messageLine() const {
        std::lock_guard lock(mrw::g_mainWindow().messageMutex);
        return mrw::g_mainWindow().message;
    }

    // Posts WM_APP_QUIT and pumps until the loop's WM_QUIT arrives; its code.
    int quit() {
        PostMessageW(window(), mrw::WM_APP_QUIT, 0, 0);
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        return static_cast<int>(msg.wParam);
    }
};

TEST_F(WindowProcedureTest, ClosingEndsTheRunButKeepsTheWindow) {
    ASSERT_TRUE(standin::requestClose(window()));
    standin::pumpUntilIdle();
    EXPECT_EQ(messageLine(), "Close window button clicked, closing Merrowvale ...");
    EXPECT_TRUE(mrw::g_windowClosing);
    EXPECT_TRUE(mrw::g_stopRequested);
    EXPECT_EQ(mrw::g_exitReason, mrw::ExitReason::UserClosedSim);
    EXPECT_TRUE(IsWindow(window())) << "the window stays until the worker has finished";
    EXPECT_FALSE(textOuts(u"Close window button clicked, closing Merrowvale ...").empty())
        << "the message line shows the closing text at once";
}

TEST_F(WindowProcedureTest, ASecondCloseKeepsTheFirstReason) {
    ASSERT_TRUE(mrw::gf_stopWithReason(mrw::ExitReason::SimConnectError, 5));
    standin::requestClose(window());
    standin::requestClose(window());
    EXPECT_EQ(mrw::g_exitReason, mrw::ExitReason::SimConnectError);
    EXPECT_EQ(mrw::g_restartDelay, 5);
    EXPECT_TRUE(mrw::g_windowClosing);
}

TEST_F(WindowProcedureTest, QuitSavesThePositionAndEndsTheLoopWithTheExitCode) {
    SetWindowPos(window(), nullptr, 300, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    mrw::g_exitCode = 1;
    EXPECT_EQ(quit(), 1);
    mrw::g_exitCode = 0;
    EXPECT_EQ(mrwtest::savedInt("MAIN_WINDOW_X"), 300);
    EXPECT_EQ(mrwtest::savedInt("MAIN_WINDOW_Y"), 250);
}

TEST_F(WindowProcedureTest, QuitWhileMinimizedOrMaximizedSavesTheRestoredPosition) {
    for (const INT show : {SW_MINIMIZE, SW_SHOWMAXIMIZED}) {
        ShowWindow(window(), SW_RESTORE);
        SetWindowPos(window(), nullptr, 320, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(window(), show);
        EXPECT_EQ(quit(), 0);
        EXPECT_EQ(mrwtest::savedInt("MAIN_WINDOW_X"), 320) << show;
        EXPECT_EQ(mrwtest::savedInt("MAIN_WINDOW_Y"), 140) << show;
    }
}

TEST_F(WindowProcedureTest, QuitKeepsTheWindowOnTheMonitor) {
    struct Case {
        LONG left;
        LONG expectedLeft;
        bool moved;
    };
    const RECT work = mrwtest::primaryWorkArea();
    const Case cases[] = {
        {work.left - 850, work.left + 48 - 880, true},  // the right edge 48 pixels inside the work area
        {work.right - 20, work.right - 48, true},       // the left edge 48 pixels inside the right end
        {-31000, 400, false},  // at the limit: the old value (400) is saved, the rule then holds
    };
    for (const Case& c : cases) {
        mrw::g_parameters().mainWindowX.current = 400;
        SetWindowPos(window(), nullptr, c.left, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        quit();
        EXPECT_EQ(mrwtest::savedInt("MAIN_WINDOW_X"), c.expectedLeft) << c.left;
        RECT rect{};
        GetWindowRect(window(), &rect);
        EXPECT_EQ(rect.left, c.moved ? c.expectedLeft : c.left) << "a corrected position is applied";
    }
}

TEST_F(WindowProcedureTest, StartRunDetachesItsWorker) {
    SetWindowPos(window(), nullptr, 310, 230, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PostMessageW(window(), mrw::WM_APP_START_RUN, 0, 0);
    standin::pumpUntilIdle();
    EXPECT_FALSE(mrw::g_mainWorkerThread.joinable()) << "every worker is detached at once";

    // Closed, the worker's run ends with its last act, the quit, which saves the window's position:
    // no worker of this test lives on into the next.
    ASSERT_TRUE(standin::requestClose(window()));
    ASSERT_TRUE(standin::pumpUntil([] { return mrw::g_parameters().mainWindowX.current == 310; },
                                   std::chrono::seconds(120)));
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
}

TEST_F(WindowProcedureTest, EditFieldsAskTheWindowForThePanelColour) {
    HDC hdc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageW(window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc), 0);
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH)));
    EXPECT_EQ(SetBkColor(hdc, 0), mrw::kPanelBlue);
    DeleteDC(hdc);
}

}  // namespace

#include "app/main_window.h"
#include "foundation/message_line.h"
#include "platform/win32/standin.h"
#include "platform/win32/win32.h"
#include "support/test_support.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

std::atomic<int> g_messageLinePosts{0};

LRESULT lf_countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == mrw::WM_APP_MESSAGE_LINE) {
        ++g_messageLinePosts;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class MessageLinePostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(mrwtest::registerTestWindowClass(u"MrwMessageLineTest", lf_countingProc));
        g_messageLinePosts = 0;
        mrw::MainWindow& window = mrw::g_mainWindow();
        std::lock_guard lock(window.messageMutex);
        window.errorMessage.clear();
    }

    void TearDown() override {
        mrw::g_mainWindowView().hwnd = nullptr;
        standin::destroyAllWindows();
    }

    mrwtest::ProgramFolder folder;  // the message line logs into Log.txt of the program folder
};

TEST_F(MessageLinePostTest, MessageFromAWorkerReachesTheWindow) {
    HWND hwnd = CreateWindowExW(0, u"MrwMessageLineTest", u"", WS_VISIBLE, 0, 0, 880, 516, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    mrw::g_mainWindowView().hwnd = hwnd;
    std::thread worker([] { mrw::gf_setMessage("Loading airports", false); });
    worker.join();
    EXPECT_TRUE(standin::pumpUntil([] { return g_messageLinePosts.load() == 1; }));

    mrw::gf_setErrorMessage("No simulator found");
    mrw::gf_clearMessage();  // refused while the error text shows: nothing posted
    standin::pumpUntilIdle();
    EXPECT_EQ(g_messageLinePosts.load(), 2);
}

TEST_F(MessageLinePostTest, WithoutAWindowThePostGoesNowhere) {
    mrw::g_mainWindowView().hwnd = nullptr;
    mrw::gf_setMessage("before the window exists", false);
    standin::pumpUntilIdle();
    EXPECT_EQ(g_messageLinePosts.load(), 0);
    EXPECT_EQ(standin::pendingMessages(), 0u);
    std::lock_guard lock(mrw::g_mainWindow().messageMutex);
    EXPECT_EQ(mrw::g_mainWindow().message, "before the window exists") << "the text is still stored";
}

}  // namespace

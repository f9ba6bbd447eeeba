#include "foundation/message_line.h"
#include "foundation/log.h"
#include "foundation/window_model.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mrw {
namespace {

class MessageLineTest : public ::testing::Test {
  protected:
    MessageLineTest() {
        gf_openLog();
        reset();
    }
    ~MessageLineTest() override { reset(); }

    static void reset() {
        MainWindow& w = g_mainWindow();
        std::lock_guard lock(w.messageMutex);
        w.message.clear();
        w.errorMessage.clear();
        w.messageSecond = 0;
        w.secondsCounter = 0;
    }
    std::pair<std::string, std::string> texts() {
        MainWindow& w = g_mainWindow();
        std::lock_guard lock(w.messageMutex);
        return {w.message, w.errorMessage};
    }
    std::string logAfterBanner() {
        const std::string log = mrwtest::readFile(folder / "Log.txt");
        return log.substr(log.find('\n') + 1);
    }
    mrwtest::ProgramFolder folder;
};

TEST_F(MessageLineTest, NormalMessagesReplaceEachOtherAndLogOnRequest) {
    gf_setMessage("A", true);
    gf_setMessage("B", false);
    EXPECT_EQ(texts().first, "B");
    EXPECT_EQ(logAfterBanner(), "A\n");

    gf_setMessage("", true);
    EXPECT_EQ(texts().first, "");
    EXPECT_EQ(g_mainWindow().messageSecond, 0);
    EXPECT_EQ(logAfterBanner(), "A\n");
}

TEST_F(MessageLineTest, MessageSecondIsTheCounterButAtLeastOne) {
    gf_setMessage("at zero", false);
    EXPECT_EQ(g_mainWindow().messageSecond, 1);
    g_mainWindow().secondsCounter = 10;
    gf_setMessage("at ten", false);
    EXPECT_EQ(g_mainWindow().messageSecond, 10);
}

TEST_F(MessageLineTest, ErrorTextIsStickyAndBlocksNormalMessages) {
    gf_setMessage("normal", false);
    gf_setErrorMessage("E");
    EXPECT_EQ(texts(), std::make_pair(std::string(), std::string("E")));
    EXPECT_EQ(g_mainWindow().messageSecond, 0);

    gf_setMessage("A", true);
    gf_clearMessage();
    EXPECT_EQ(texts(), std::make_pair(std::string(), std::string("E")));
    EXPECT_EQ(logAfterBanner(), "Error E\n");

    gf_setErrorMessage("F");
    EXPECT_EQ(texts().second, "F");
}

}  // namespace
}  // namespace mrw

#include "foundation/window_model.h"

#include "foundation/message_line.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace mrw {
namespace {

std::vector<WindowChange> g_seen;

void lf_record(WindowChange change) {
    g_seen.push_back(change);
}

class WindowModelTest : public ::testing::Test {
  protected:
    WindowModelTest() { g_seen.clear(); }
    ~WindowModelTest() override {
        gf_observeWindowModel(nullptr);
        std::lock_guard lock(g_mainWindow().messageMutex);
        g_mainWindow().message.clear();
        g_mainWindow().messageSecond = 0;
    }
    mrwtest::ProgramFolder folder;  // the message line may log
};

TEST_F(WindowModelTest, EveryChangeReachesTheObserverAsItsPart) {
    gf_observeWindowModel(&lf_record);
    gf_invalidateStatusBand();
    gf_invalidateControlPanel();
    gf_invalidateInfoBand();
    gf_setMessage("Loading airports", false);
    EXPECT_EQ(g_seen, (std::vector<WindowChange>{WindowChange::StatusBand, WindowChange::ControlPanel,
                                                 WindowChange::InfoBand, WindowChange::MessageLine}));
}

TEST_F(WindowModelTest, WithoutAnObserverTheStateChangesAndNothingIsCalled) {
    gf_observeWindowModel(&lf_record);
    gf_observeWindowModel(nullptr);
    gf_setMessage("no window yet", false);
    gf_invalidateInfoBand();
    EXPECT_TRUE(g_seen.empty());
    std::lock_guard lock(g_mainWindow().messageMutex);
    EXPECT_EQ(g_mainWindow().message, "no window yet");
}

}  // namespace
}  // namespace mrw

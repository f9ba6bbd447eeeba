#include "traffic/engine/livery_cache.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <memory>

#include "aircraft/code_tables.h"
#include "foundation/run_state.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "support/logged_program_folder.h"

namespace mrw {
namespace {

class LiveryCacheTest : public ::testing::Test {
  protected:
    // An earlier test of the program may have left a message shown: each test starts without one.
    void SetUp() override { clearMessage(); }
    void TearDown() override {
        g_liveryOfHexid.clear();
        g_failedTitles().clear();
        g_failedDesignations().clear();
        g_noMatchSet.clear();
        g_stopRequested = false;
        clearMessage();
    }
    static void clearMessage() {
        std::lock_guard lock(g_mainWindow().messageMutex);
        g_mainWindow().message.clear();
    }
    static std::string message() {
        std::lock_guard lock(g_mainWindow().messageMutex);
        return g_mainWindow().message;
    }
    static AcProfile refused(std::string title, std::string_view model = "B738",
                             std::string_view airline = "KLM") {
        static std::vector<std::unique_ptr<std::string>> titles;  // the profile only views its title
        titles.push_back(std::make_unique<std::string>(std::move(title)));
        AcProfile p;
        p.callsign = "KLM1234";
        p.liveryTitle = *titles.back();
        p.designation.model = gf_modelIndex(model);
        p.designation.airline = gf_airlineIndex(airline);
        return p;
    }
    mrwtest::LoggedProgramFolder folder;
};

TEST_F(LiveryCacheTest, ARefusedTitleIsNoLongerCachedAndItsEntryGoes) {
    g_liveryOfHexid[0x484506] = "Airliner Blue";
    g_liveryOfHexid[0x3C6444] = "Airliner Red";
    EXPECT_EQ(gf_cachedLiveryTitle(0x484506), "Airliner Blue");
    EXPECT_EQ(gf_cachedLiveryTitle(0x111111), std::nullopt);

    gf_liveryNotCreated(refused("Airliner Blue"));
    EXPECT_EQ(gf_cachedLiveryTitle(0x484506), std::nullopt);
    EXPECT_FALSE(g_liveryOfHexid.contains(0x484506));
    EXPECT_EQ(gf_cachedLiveryTitle(0x3C6444), "Airliner Red");
}

TEST_F(LiveryCacheTest, TheCacheHoldsCopiesOfTheTitles) {
    auto title = std::make_unique<std::string>("Airliner Green");
    g_liveryOfHexid[7777777] = std::string(*title);
    title.reset();  // the catalogue's text is gone
    EXPECT_EQ(gf_cachedLiveryTitle(7777777), "Airliner Green");
}

TEST_F(LiveryCacheTest, ATitleRefusedTwiceShowsTwoMessagesAndCountsOnce) {
    gf_liveryNotCreated(refused("Airliner Blue"));
    EXPECT_EQ(message(), "KLM1234 'Airliner Blue' could not be created by your Sim!");
    gf_liveryNotCreated(refused("Airliner Blue"));
    EXPECT_EQ(g_failedTitles().size(), 1u);
    EXPECT_TRUE(g_failedDesignations().contains("B738 KLM"));
    const std::string log = folder.logText();
    const std::size_t first = log.find("KLM1234 'Airliner Blue' could not be created by your Sim!");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find("KLM1234 'Airliner Blue' could not be created by your Sim!", first + 1),
              std::string::npos);
}

TEST_F(LiveryCacheTest, WhileStoppingNoMessageIsShownButTheRefusalCounts) {
    g_stopRequested = true;
    gf_liveryNotCreated(refused("Airliner Blue"));
    EXPECT_TRUE(message().empty());
    EXPECT_TRUE(g_failedTitles().contains("Airliner Blue"));
}

TEST_F(LiveryCacheTest, TheTwentiethDistinctTitleEndsTheRun) {
    for (int i = 1; i <= 19; ++i)
        EXPECT_NO_THROW(gf_liveryNotCreated(refused(fmt::format("Livery {}", i))));
    EXPECT_NO_THROW(gf_liveryNotCreated(refused("Livery 19")));  // again: still 19
    try {
        gf_liveryNotCreated(refused("Livery 20"));
        FAIL() << "no exception at the 20th title";
    } catch (const UserErrorException& e) {
        EXPECT_STREQ(e.what(), "81: There are too many liveries that could not be created!, see Log.txt");
    }
    EXPECT_NE(folder.logText().find(
                  "\n\n===> Error 81, There are too many liveries that could not be created!\n\n"),
              std::string::npos);
}

TEST_F(LiveryCacheTest, TheNoMatchListIsLoggedAndCleared) {
    gf_logNoMatch();
    EXPECT_EQ(folder.logText().find("No match found for:"), std::string::npos);
    g_noMatchSet.insert("B738 KLM");
    g_noMatchSet.insert("A320 EZY");
    gf_logNoMatch();
    const std::string log = folder.logText();
    const std::size_t heading = log.find("\n\nNo match found for:\n");
    ASSERT_NE(heading, std::string::npos);
    EXPECT_NE(log.find("\nB738 KLM\n", heading), std::string::npos);
    EXPECT_NE(log.find("\nA320 EZY\n", heading), std::string::npos);
    gf_clearNoMatch();
    EXPECT_TRUE(g_noMatchSet.empty());
}

}  // namespace
}  // namespace mrw

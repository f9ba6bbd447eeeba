#include "aircraft/matching_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "aircraft/failed_liveries.h"
#include "aircraft/livery_matching.h"
#include "aircraft_test_support.h"

namespace {

const std::string kTitleBanner =
    std::string(31, '*') + " live traffic livery matching summary " + std::string(31, '*');
const std::string kClosingBanner(100, '*');

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        result.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return result;
}

// The summary blocks of the log: each from the empty line before its title banner to the empty line
// after its closing banner.
std::vector<std::vector<std::string>> summaryBlocks(const std::string& log) {
    const std::vector<std::string> all = lines(log);
    std::vector<std::vector<std::string>> blocks;
    for (std::size_t i = 1; i < all.size(); ++i) {
        if (all[i] != kTitleBanner) continue;
        const auto close = std::find(all.begin() + static_cast<std::ptrdiff_t>(i), all.end(), kClosingBanner);
        const auto last = std::min(close + 2, all.end());
        blocks.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(i) - 1, last);
    }
    return blocks;
}

std::vector<std::string> expectedBlock(const std::vector<std::string>& stepLines,
                                       const std::vector<std::string>& failed) {
    std::vector<std::string> block{"", kTitleBanner, "Matches at step: "};
    block.insert(block.end(), stepLines.begin(), stepLines.end());
    if (!failed.empty()) {
        block.emplace_back("");
        block.emplace_back("Could not be created");
        for (const std::string& text : failed)
            block.push_back("  " + text);
    }
    block.push_back(kClosingBanner);
    block.emplace_back("");
    return block;
}

class MatchingSummaryTest : public ::testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        mrw::g_matchStepCounts.fill(0);
        mrw::g_failedDesignations().clear();
    }
    mrwtest::LoggedProgramFolder folder;
};

TEST_F(MatchingSummaryTest, NothingIsWrittenWithoutMatchesEvenWithRefusedLiveries) {
    mrw::g_failedDesignations().insert("B738 RYR");
    mrw::gf_logMatchingSummary();
    const std::string log = folder.logText();
    EXPECT_EQ(log.find("livery matching summary"), std::string::npos) << log;
    EXPECT_EQ(log.find("Could not be created"), std::string::npos) << log;
}

TEST_F(MatchingSummaryTest, StepLinesThenClosingBannerAndTotalsGrowOverRuns) {
    mrw::g_matchStepCounts = {0, 5, 20, 3, 1, 0, 0};
    mrw::gf_logMatchingSummary();
    // A second run of the same process adds to the same counters.
    mrw::g_matchStepCounts[2] += 4;
    mrw::g_matchStepCounts[6] += 1;
    mrw::gf_logMatchingSummary();

    const auto blocks = summaryBlocks(folder.logText());
    ASSERT_EQ(blocks.size(), 2u) << folder.logText();
    EXPECT_EQ(blocks[0],
              expectedBlock({"  0: 0", "  1: 5", "  2: 20", "  3: 3", "  4: 1", "  5: 0", "  6: 0"}, {}));
    EXPECT_EQ(blocks[1],
              expectedBlock({"  0: 0", "  1: 5", "  2: 24", "  3: 3", "  4: 1", "  5: 0", "  6: 1"}, {}));
}

TEST_F(MatchingSummaryTest, RefusedTypesFollowTheStepLines) {
    mrw::g_matchStepCounts[0] = 1;
    mrw::g_failedDesignations().insert("B738 RYR");
    mrw::gf_logMatchingSummary();

    const auto blocks = summaryBlocks(folder.logText());
    ASSERT_EQ(blocks.size(), 1u) << folder.logText();
    EXPECT_EQ(blocks[0], expectedBlock({"  0: 1", "  1: 0", "  2: 0", "  3: 0", "  4: 0", "  5: 0", "  6: 0"},
                                       {"B738 RYR"}));
}

}  // namespace

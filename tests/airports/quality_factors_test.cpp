#include "airports/quality_factors.h"

#include <gtest/gtest.h>

#include "airports/park_airport_data.h"
#include "airports_test_support.h"

namespace mrw {
namespace {

StandOption use(std::int32_t sequence, std::int32_t day, std::initializer_list<int> halfHours,
                std::int32_t real = 1) {
    StandOption option;
    option.registration = "PH-BXA";
    option.sequence = sequence;
    option.day = day;
    option.real = real;
    for (int slot : halfHours)
        option.halfHours.set(static_cast<std::size_t>(slot));
    return option;
}

void addStand(std::vector<StandOption> options, std::int16_t type = 9, bool heli = false) {
    g_parkStands.emplace_back(std::move(options), "S" + std::to_string(g_parkStands.size()), 52.3, 4.7, 0.0,
                              20.0, type, false, false, heli);
}

class QualityFactorsTest : public ::testing::Test {
  protected:
    void SetUp() override { mrwtest::resetAirportsData(); }
    void TearDown() override { mrwtest::resetAirportsData(); }
};

TEST_F(QualityFactorsTest, NoUseAnywhereGivesMinusOne) {
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{-1, -1}));
    addStand({});
    addStand({}, 12);
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{-1, -1}));
}

TEST_F(QualityFactorsTest, UsesOnlyAtUnratedStandsGiveZero) {
    addStand({use(1, 1, {14})}, 12);
    addStand({use(1, 1, {14}, 0)}, 9, true);
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{0, 0}));
}

TEST_F(QualityFactorsTest, InactiveUseCountsOnlyAsAUse) {
    addStand({use(0, 1, {14, 15})});
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{0, 0}));
}

TEST_F(QualityFactorsTest, ScoresAreAveragedOverTheRatedStands) {
    // 20 + 10000 + 100 + 2 x 6 = 10132 points of 16000: 63.325 %.
    addStand({use(1, 1, {14, 15, 16, 17, 18, 19})});
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{63, 0}));
    addStand({});
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{32, 0}));  // 31.6625
    addStand({}, 12);                                         // not rated: no change
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{32, 0}));
}

TEST_F(QualityFactorsTest, RealAndSoftUsesAreScoredApart) {
    // Real: 3 uses on 2 days (day 9 does not count) with 1 + 2 + 1 half hours:
    // 60 + 10000 + 200 + 8 = 10268 -> 64.175 %. Soft: 1 use, 1 day, 48 half hours:
    // 20 + 10000 + 100 + 96 = 10216 -> 63.85 %.
    addStand({use(1, 1, {0}), use(2, 1, {1, 2}), use(3, 9, {5}),
              use(4, 7, {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                         16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31,
                         32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47},
                  0)});
    g_parkStands[0].options[1].day = 2;
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{64, 64}));
}

TEST_F(QualityFactorsTest, ScoreCapsKeepTheFactorBelowOneHundred) {
    // 250 uses on 7 days with 3 half hours each: min(5000, 4000) + 10000 + 700 + min(1500, 600) x 2
    // = 15900 -> 99.375 %.
    std::vector<StandOption> options;
    for (int i = 0; i < 250; ++i)
        options.push_back(use(i + 1, i % 7 + 1, {i % 40, i % 40 + 1, i % 40 + 2}));
    addStand(std::move(options));
    EXPECT_EQ(gf_qualityFactors(), (QualityFactors{99, 0}));
}

TEST_F(QualityFactorsTest, TextShowsSoftFactorOnlyBelow45) {
    const struct {
        QualityFactors factors;
        const char* text;
    } cases[] = {{{-1, -1}, "  "}, {{0, 0}, " 0/ 0"}, {{32, 0}, "32/ 0"}, {{44, 63}, "44/63"},
                 {{45, 10}, "45"}, {{63, 0}, "63"},   {{100, 0}, "100"}};
    for (const auto& c : cases) {
        g_qualityFactors = c.factors;
        EXPECT_EQ(gf_qualityFactorText(), c.text);
    }
}

}  // namespace
}  // namespace mrw

#include "config/random_helpers.h"

#include "config/parameter_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <set>
#include <thread>

namespace mrw {
namespace {

// Sets RANDOM for the test's lifetime and restores it after.
class RandomSetting {
  public:
    explicit RandomSetting(bool on) : m_before(g_parameters().RANDOM.current.load()) {
        g_parameters().RANDOM.current = on;
    }
    ~RandomSetting() { g_parameters().RANDOM.current = m_before; }

  private:
    bool m_before;
};

std::vector<std::uint16_t> lf_identity(std::size_t n) {
    std::vector<std::uint16_t> v(n);
    std::iota(v.begin(), v.end(), std::uint16_t{0});
    return v;
}

TEST(RandomHelpers, WithRandomOffChoicesAreFixed) {
    RandomSetting off(false);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(gf_randomIndex(5), 0u);
    auto v = lf_identity(10);
    gf_shuffle(v);
    EXPECT_EQ(v, lf_identity(10));
    // The jitter is not gated: always exactly one of the two values.
    for (int i = 0; i < 50; ++i) {
        const double j = gf_randomJitter(100, 10);
        EXPECT_TRUE(j == 90 || j == 110) << j;
    }
}

TEST(RandomHelpers, WithRandomOnChoicesCoverTheRange) {
    RandomSetting on(true);
    std::set<std::size_t> seen;
    for (int i = 0; i < 500; ++i) {
        const auto index = gf_randomIndex(5);
        ASSERT_LT(index, 5u);
        seen.insert(index);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(gf_randomIndex(1), 0u);
    EXPECT_EQ(gf_randomIndex(0), 0u);

    std::set<double> jitters;
    for (int i = 0; i < 200; ++i)
        jitters.insert(gf_randomJitter(100, 10));
    EXPECT_EQ(jitters, (std::set<double>{90, 110}));
    EXPECT_EQ(gf_randomJitter(100, 0), 100);
    EXPECT_EQ(gf_randomJitter(100, -5), 100);
}

TEST(RandomHelpers, ShuffleIsAPermutationAndMovesEntries) {
    RandomSetting on(true);
    bool anyMoved = false;
    for (int round = 0; round < 20; ++round) {
        auto v = lf_identity(20);
        gf_shuffle(v);
        auto sorted = v;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, lf_identity(20));
        anyMoved = anyMoved || v != lf_identity(20);
    }
    EXPECT_TRUE(anyMoved);
    std::vector<std::uint16_t> one{7};
    gf_shuffle(one);
    EXPECT_EQ(one, std::vector<std::uint16_t>{7});
}

TEST(RandomHelpers, EachThreadHasItsOwnEngine) {
    std::mt19937* mine = &g_threadRandomEngine();
    std::mt19937* other = nullptr;
    std::thread([&] { other = &g_threadRandomEngine(); }).join();
    EXPECT_NE(mine, other);
    EXPECT_EQ(mine, &g_threadRandomEngine());
}

}  // namespace
}  // namespace mrw

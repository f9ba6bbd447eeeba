#include "foundation/half_hour_set.h"
#include "foundation/log.h"
#include "support/half_hours.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace mrw {
namespace {

using mrwtest::slots;

HalfHourSet run(int a, int b) {
    HalfHourSet set;
    for (int s = a; s <= b; ++s)
        set.set(static_cast<std::size_t>(s));
    return set;
}

class HalfHourSetTest : public ::testing::Test {
  protected:
    HalfHourSetTest() { gf_openLog(); }
    // The lines the call wrote to Log.txt, after the banner.
    std::vector<std::string> logLinesOf(std::string_view text, HalfHourSet& out) {
        const auto before = mrwtest::readLines(folder / "Log.txt").size();
        out = gf_hours2bitset(text);
        auto lines = mrwtest::readLines(folder / "Log.txt");
        return {lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()};
    }
    mrwtest::ProgramFolder folder;
};

TEST_F(HalfHourSetTest, ReadsListsAndRanges) {
    struct Case {
        std::string text;
        HalfHourSet expected;
        std::vector<std::string> log;
    };
    const std::vector<Case> cases = {
        {"", {}, {}},
        {"0,47", slots({0, 47}), {}},
        {"47,0", slots({0, 47}), {}},
        {" 5 , 6 ", slots({5, 6}), {}},
        {"5x", slots({5}), {}},
        {"48", {}, {"==> operator () invalid hour '48' in 48"}},
        {"-1", {}, {"==> operator () invalid hour '-1' in -1"}},
        {"1,48,2", slots({1, 2}), {"==> operator () invalid hour '48' in 1,48,2"}},
        {"1,,2", slots({1, 2}), {"==> operator () invalid hour '' in 1,,2"}},
        {"14:19", run(14, 19), {}},
        {"5:5", slots({5}), {}},
        {"19:14", {}, {"==> gf_hours2bitset descending range not allowed (19:14 in 19:14)"}},
        {"1:2:3", {}, {"==> gf_hours2bitset more than one colon char in: 1:2:3"}},
        {"5:", {}, {"==> operator () invalid hour '' in 5:"}},
        {"1,2:4", run(1, 4), {}},
        {"x:3", {}, {"==> operator () invalid hour 'x' in x:3"}},
    };
    for (const Case& c : cases) {
        HalfHourSet set;
        EXPECT_EQ(logLinesOf(c.text, set), c.log) << c.text;
        EXPECT_EQ(set, c.expected) << c.text;
    }
}

TEST_F(HalfHourSetTest, WritesListsAndRanges) {
    EXPECT_EQ(gf_bitsetToList(slots({3, 4, 17})), "3,4,17");
    EXPECT_EQ(gf_bitsetToRange(slots({3, 4, 17})), std::nullopt);
    EXPECT_EQ(gf_bitsetToRange(run(14, 19)), "14:19");
    EXPECT_EQ(gf_bitsetToRange(slots({5})), "5");
    EXPECT_EQ(gf_bitsetToList({}), std::nullopt);
    EXPECT_EQ(gf_bitsetToRange({}), std::nullopt);
}

TEST_F(HalfHourSetTest, EveryRunAndListRoundTrips) {
    for (int a = 0; a < 48; ++a) {
        for (int b = a; b < 48; ++b) {
            const HalfHourSet set = run(a, b);
            EXPECT_EQ(gf_hours2bitset(*gf_bitsetToRange(set)), set) << a << ":" << b;
        }
    }
    const HalfHourSet gaps = slots({0, 2, 9, 30, 47});
    EXPECT_EQ(gf_hours2bitset(*gf_bitsetToList(gaps)), gaps);
}

}  // namespace
}  // namespace mrw

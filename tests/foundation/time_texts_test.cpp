#include "foundation/time_texts.h"

#include <gtest/gtest.h>

namespace mrw {
namespace {

constexpr std::int64_t kWed20261209_102930 = 1796812170;
constexpr std::int64_t kSun20261213_235959 = 1797206399;

class TimeTextsTest : public ::testing::Test {
  protected:
    void setNow(std::int64_t seconds) {
        gf_setWallClockForTests([seconds] { return seconds; });
    }
    void TearDown() override {
        gf_setWallClockForTests({});
        g_rtProfessional = false;
        g_trafficTime = 0.0;
    }
};

TEST_F(TimeTextsTest, CtimeTexts) {
    struct Case {
        std::int64_t seconds;
        const char* text;
    };
    for (const Case& c :
         {Case{0, "Thu Jan 01 00:00:00 1970"}, Case{1791000000, "Sat Okt 03 04:00:00 2026"},
          Case{1796775995, "Wed Dec 09 00:26:35 2026"}, Case{-1, "Invalid time"},
          Case{-86400LL * 365, "Invalid time"}, Case{951782400, "Tue Feb 29 00:00:00 2000"},
          Case{253402300799, "Fri Dec 31 23:59:59 9999"}, Case{253402300800, "Invalid time"}}) {
        EXPECT_EQ(gf_ctimeUtc(c.seconds), c.text) << c.seconds;
    }
}

TEST_F(TimeTextsTest, DerivedTextsOfNow) {
    setNow(1796775995);
    EXPECT_EQ(gf_utcTimeOfDay(), "00:26:35");
    EXPECT_EQ(gf_clockTimeOfDay(), "00:26:35");
    EXPECT_EQ(gf_utcDate(), "Dec 09, 2026");
}

TEST_F(TimeTextsTest, DerivedTextsOfAnInvalidClockDoNotThrow) {
    setNow(-5);
    EXPECT_EQ(gf_utcTimeOfDay(), "Invalid time");
    EXPECT_EQ(gf_clockTimeOfDay(), "Invalid time");
    EXPECT_EQ(gf_utcDate(), "Invalid time");
    EXPECT_EQ(gf_weekdayAndHalfHour(), std::make_pair(-1, -1));
}

TEST_F(TimeTextsTest, TrafficClockFollowsProfessionalTrafficTime) {
    setNow(1796775995);
    g_trafficTime = kWed20261209_102930 + 0.7;
    EXPECT_EQ(gf_clockTimeOfDay(), "00:26:35");  // not professional: the computer's clock

    g_rtProfessional = true;
    EXPECT_EQ(gf_clockTimeOfDay(), "10:29:30");
    EXPECT_EQ(gf_weekdayAndHalfHour(), std::make_pair(3, 21));

    g_trafficTime = 0.9;  // converts to 0: the computer's clock again
    EXPECT_EQ(gf_clockTimeOfDay(), "00:26:35");
}

// A traffic time off the calendar (which no conversion to seconds can hold) leaves the traffic
// clock on the computer's.
TEST_F(TimeTextsTest, TrafficTimeOffTheCalendarGivesTheComputersClock) {
    setNow(1796775995);
    g_rtProfessional = true;
    for (const double time : {9.3e18, 1e19, -1e19, 1e300, -1e300, -1.0, 253402300800.0}) {
        g_trafficTime = time;
        EXPECT_FALSE(gf_isCalendarTime(time)) << time;
        EXPECT_EQ(gf_trafficClockSeconds(), 1796775995) << time;
        EXPECT_EQ(gf_weekdayAndHalfHour(), std::make_pair(3, 0)) << time;
    }
    for (const double time : {0.0, 1592423555.0, 253402300799.9})
        EXPECT_TRUE(gf_isCalendarTime(time)) << time;
}

TEST_F(TimeTextsTest, WeekdayAndHalfHourSlots) {
    const std::int64_t wed1000 = kWed20261209_102930 - 29 * 60 - 30;
    struct Case {
        std::int64_t seconds;
        int weekday;
        int slot;
    };
    for (const Case& c :
         {Case{wed1000 + 29 * 60 + 29, 3, 20}, Case{wed1000 + 29 * 60 + 30, 3, 21},
          Case{wed1000 + 30 * 60, 3, 21}, Case{wed1000 + 59 * 60 + 59, 3, 21}, Case{wed1000 + 3600, 3, 22},
          Case{kSun20261213_235959, 7, 47}, Case{kSun20261213_235959 + 1, 1, 0}}) {
        EXPECT_EQ(gf_weekdayAndHalfHourAt(c.seconds), std::make_pair(c.weekday, c.slot)) << c.seconds;
    }
}

}  // namespace
}  // namespace mrw

#include "foundation/time_texts.h"

#include <fmt/format.h>

#include <array>
#include <chrono>
#include <ctime>
#include <optional>

namespace mrw {

namespace {

constexpr std::string_view kInvalidTime = "Invalid time";

// The last second of the year 9999: the text has room for four digits.
constexpr std::int64_t kLastCalendarSecond = 253'402'300'799;

// Breaks a time down into UTC calendar time (the same on every platform, unlike gmtime); negative
// times are refused.
std::optional<std::tm> lf_utcCalendar(std::int64_t seconds) {
    if (seconds < 0 || seconds > kLastCalendarSecond) return std::nullopt;
    using namespace std::chrono;
    const sys_seconds time{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    std::tm tm{};
    tm.tm_year = static_cast<int>(date.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    tm.tm_hour = static_cast<int>(clock.hours().count());
    tm.tm_min = static_cast<int>(clock.minutes().count());
    tm.tm_sec = static_cast<int>(clock.seconds().count());
    tm.tm_wday = static_cast<int>(weekday{day}.c_encoding());
    return tm;
}

std::string_view lf_monthName(int month1to12) {
    static constexpr std::array<std::string_view, 12> names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                               "Jul", "Aug", "Sep", "Okt", "Nov", "Dec"};
    return month1to12 >= 1 && month1to12 <= 12 ? names[month1to12 - 1] : "???";
}

std::string_view lf_weekdayName(int monday1to7) {
    static constexpr std::array<std::string_view, 7> names = {"Mon", "Tue", "Wed", "Thu",
                                                              "Fri", "Sat", "Sun"};
    return monday1to7 >= 1 && monday1to7 <= 7 ? names[monday1to7 - 1] : "???";
}

int lf_mondayFirstWeekday(const std::tm& tm) {
    return tm.tm_wday == 0 ? 7 : tm.tm_wday;
}

std::string lf_timeOfDay(std::int64_t seconds) {
    const std::string text = gf_ctimeUtc(seconds);
    if (text.size() != 24) return std::string(kInvalidTime);
    return text.substr(text.size() - 13, 8);
}

}  // namespace

std::string gf_ctimeUtc(std::int64_t secondsSince1970) {
    const auto tm = lf_utcCalendar(secondsSince1970);
    if (!tm) return std::string(kInvalidTime);
    return fmt::format("{:3} {:3} {:02} {:02}:{:02}:{:02} {:4}", lf_weekdayName(lf_mondayFirstWeekday(*tm)),
                       lf_monthName(tm->tm_mon + 1), tm->tm_mday, tm->tm_hour, tm->tm_min, tm->tm_sec,
                       tm->tm_year + 1900);
}

std::string gf_utcTimeOfDay() {
    return lf_timeOfDay(gf_wallClockSeconds());
}

std::string gf_clockTimeOfDay() {
    return lf_timeOfDay(gf_trafficClockSeconds());
}

std::string gf_utcDate() {
    const std::string text = gf_ctimeUtc(gf_wallClockSeconds());
    if (text.size() != 24) return std::string(kInvalidTime);
    return fmt::format("{}, {}", text.substr(4, 6), text.substr(20, 4));
}

bool gf_isCalendarTime(double secondsSince1970) {
    // Compared as a double before any conversion: NaN fails, and so does a value an int64 cannot hold.
    return secondsSince1970 >= 0.0 && secondsSince1970 < static_cast<double>(kLastCalendarSecond + 1);
}

std::int64_t gf_trafficClockSeconds() {
    if (g_rtProfessional.load()) {
        const double trafficTime = g_trafficTime.load();
        if (gf_isCalendarTime(trafficTime)) {
            const auto trafficSeconds = static_cast<std::int64_t>(trafficTime);
            if (trafficSeconds != 0) return trafficSeconds;
        }
    }
    return gf_wallClockSeconds();
}

std::pair<int, int> gf_weekdayAndHalfHour() {
    return gf_weekdayAndHalfHourAt(gf_trafficClockSeconds());
}

std::pair<int, int> gf_weekdayAndHalfHourAt(std::int64_t secondsSince1970) {
    const auto tm = lf_utcCalendar(secondsSince1970);
    if (!tm) return {-1, -1};
    const bool secondHalf = tm->tm_min >= 30 || (tm->tm_min == 29 && tm->tm_sec >= 30);
    return {lf_mondayFirstWeekday(*tm), 2 * tm->tm_hour + (secondHalf ? 1 : 0)};
}

}  // namespace mrw

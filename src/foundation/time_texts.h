#pragma once
// Time texts (all UTC, October is "Okt") and the traffic clock: the computer's clock, or the time
// stamp of the newest RealTraffic record while RealTraffic is the professional edition.

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>

#include "foundation/clock.h"

namespace mrw {

// "Wed Dec 09 00:26:35 2026" (24 characters), or "Invalid time" for a time before 1970 or one
// that cannot be broken down into a calendar time.
std::string gf_ctimeUtc(std::int64_t secondsSince1970);

// hh:mm:ss of the computer's clock now; "Invalid time" when the clock cannot be converted.
std::string gf_utcTimeOfDay();
// hh:mm:ss of the traffic clock now; "Invalid time" when it cannot be converted.
std::string gf_clockTimeOfDay();
// "Dec 09, 2026" for now; "Invalid time" when the clock cannot be converted.
std::string gf_utcDate();

// The two inputs of the traffic clock, written by the RealTraffic link and reader.
// Set when RealTraffic's version answer reports the professional edition.
inline std::atomic<bool> g_rtProfessional{false};
// Time stamp (seconds since 1970, UTC) of the newest RealTraffic record whose timestamp was read;
// 0 = none. The reader knows it as TrafficReader::trafficTime.
inline std::atomic<double> g_trafficTime{0.0};

// True when the time (seconds since 1970) lies between 1970 and the end of the year 9999, the
// times that have a calendar date.
bool gf_isCalendarTime(double secondsSince1970);

// The traffic clock in seconds since 1970: the computer's clock while the traffic time is none or
// off the calendar.
std::int64_t gf_trafficClockSeconds();

// (weekday 1 = Monday .. 7 = Sunday, half-hour slot 0..47) of the traffic clock now; -1 in a member
// that could not be computed. The second half of an hour begins at hh:29:30.
std::pair<int, int> gf_weekdayAndHalfHour();
// The same for a given time.
std::pair<int, int> gf_weekdayAndHalfHourAt(std::int64_t secondsSince1970);

}  // namespace mrw

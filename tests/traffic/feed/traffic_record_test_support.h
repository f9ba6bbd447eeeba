#pragma once
// A traffic record of the current form (29 fields) built field by field, and a clean Traffic Reader
// state around each parser test.

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "support/logged_program_folder.h"
#include "traffic/model/traffic_report.h"

namespace mrwtest {

// An airborne Boeing 737 east of KLAX, due to be accepted with the default reader state.
struct TrafficRecord {
    std::array<std::string, 29> field = {
        "RTTFC", "11260357", "33.9500", "-118.3000", "5000",       "-500", "1", "250", "180", "SWA962",
        "B738",  "N8604K",   "SFO",     "LAX",       "1592423555", "",     "",  "",    "",    "",
        "-1",    "",         "",        "-1",        "",           "",     "",  "",    "A3"};

    TrafficRecord& set(std::size_t index, std::string value) {
        field.at(index) = std::move(value);
        return *this;
    }
    std::string text() const;
};

// KLAX, the park airport of the parser tests, and the position the range is measured from.
inline constexpr double kKlaxLat = 33.9425;
inline constexpr double kKlaxLon = -118.4081;
inline constexpr double kKlaxElevationFt = 125.0;

// Log.txt in a program folder, empty code tables, intake open, no reports queued, the reader's
// shared values at their start (reference position KLAX, range 40 nm, no park airport, QNH 1013,
// AIRBORNE_ONLY off); restored at the end.
class TrafficReaderState {
  public:
    TrafficReaderState();
    ~TrafficReaderState();
    TrafficReaderState(const TrafficReaderState&) = delete;
    TrafficReaderState& operator=(const TrafficReaderState&) = delete;

    // Makes KLAX the park airport, with its ground elevation.
    static void setKlaxParkAirport();
    std::string logText() const { return m_folder.logText(); }

  private:
    static void reset();
    LoggedProgramFolder m_folder;
};

// Hands the record to the reader; the report it queued, if any (taken off the queue). Each record's
// log line is written: the once-a-second limit of bad records' lines has tests of its own.
std::optional<mrw::TrafficReport> parseRecord(const std::string& datagram);

}  // namespace mrwtest

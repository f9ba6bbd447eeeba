#pragma once
// The records the peer sends: a RealTraffic recording read from a file, turned into the current
// traffic-record form, and records of generated aircraft.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rtpeer {

// One line of a recording: a traffic record (sent to the traffic port) or a weather record (sent
// to the weather port as it stands).
struct RecordingEntry {
    bool weather = false;
    double offsetSeconds = 0.0;  // after the recording's first traffic record
    std::string text;            // traffic: the record as recorded; weather: the JSON datagram
};

// Reads a recording: lines beginning "AITFC," or "RTTFC," are traffic records (field 14 is their
// time stamp), lines beginning '{' weather records (at the time of the record before them); other
// lines are skipped. Entries are in file order. Throws std::runtime_error when the file cannot be
// read.
std::vector<RecordingEntry> readRecording(const std::filesystem::path& path);

// A recorded traffic record in the current form of at least 29 fields: field 0 "RTTFC", fields 1 to
// 13 kept, field 14 the given time stamp, padded to 44 fields (TAS and roll "-1", the others empty)
// when the record is shorter; a longer record keeps its other fields.
std::string currentTrafficRecord(std::string_view recorded, double timestamp);

// An aircraft flying a straight track at constant speed and vertical rate.
struct GeneratedAircraft {
    std::uint32_t hexid = 0;
    std::string callsign;
    std::string type;
    std::string registration;
    std::string origin;
    std::string destination;
    double lat = 0.0;
    double lon = 0.0;
    double altitudeFt = 0.0;
    double trackDeg = 0.0;
    double groundSpeedKt = 0.0;
    double verticalRateFpm = 0.0;
};

// "hexid,callsign,type,registration,origin,destination,lat,lon,altitudeFt,trackDeg,speedKt,vsFpm";
// throws std::invalid_argument for another text.
GeneratedAircraft parseGeneratedAircraft(std::string_view text);
// The aircraft's record after the given seconds, with an ADS-B true heading equal to its track.
std::string generatedTrafficRecord(const GeneratedAircraft& aircraft, double elapsedSeconds,
                                   double timestamp);

}  // namespace rtpeer

// The whole real KLAX recording through the traffic record parser, as the peer would replay it.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tools/realtraffic-peer/realtraffic_records.h"
#include "traffic/feed/traffic_reader.h"
#include "traffic/feed/traffic_record_test_support.h"

namespace {

TEST(RecordingReplay, MostRealAircraftAreKeptWithoutALogFlood) {
    mrwtest::TrafficReaderState state;
    mrwtest::TrafficReaderState::setKlaxParkAirport();
    const auto entries = rtpeer::readRecording(MRW_FIXTURES_DIR "/realtraffic/KLAX_20200617_2152.csv");
    std::set<std::uint32_t> recordedHexids;
    std::set<std::uint32_t> keptHexids;
    std::size_t trafficRecords = 0;
    std::size_t reports = 0;
    const double replayStart = 1765380000.0;
    for (const rtpeer::RecordingEntry& entry : entries) {
        if (entry.weather) continue;
        ++trafficRecords;
        const std::string record =
            rtpeer::currentTrafficRecord(entry.text, replayStart + entry.offsetSeconds);
        recordedHexids.insert(
            static_cast<std::uint32_t>(std::stoul(record.substr(6, record.find(',', 6) - 6))));
        if (const auto report = mrwtest::parseRecord(record)) {
            ++reports;
            keptHexids.insert(report->hexid);
            EXPECT_GT(report->reportTime, replayStart - 1.0);
        }
    }
    EXPECT_EQ(trafficRecords, 3827U);
    EXPECT_EQ(recordedHexids.size(), 107U);
    // Empty and odd routes no longer cost the aircraft: most of the traffic comes through (the rest
    // is out of range, ground traffic away from KLAX or without callsign and registration).
    EXPECT_GE(keptHexids.size(), 90U) << "kept " << keptHexids.size() << " of 107 aircraft";
    EXPECT_GE(reports, 2900U) << reports << " reports";
    // At most one route line per aircraft, and no record ends in an error.
    const std::string log = state.logText();
    std::size_t lines = 0;
    for (std::size_t at = log.find('\n'); at != std::string::npos; at = log.find('\n', at + 1))
        ++lines;
    EXPECT_LE(lines, 107U + 5U);
    EXPECT_EQ(log.find("exception in processLineSub"), std::string::npos);
}

}  // namespace

#include "tools/realtraffic-peer/realtraffic_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "support/test_support.h"

namespace {

std::size_t fieldCount(const std::string& record) {
    return static_cast<std::size_t>(std::count(record.begin(), record.end(), ',')) + 1;
}

std::string field(const std::string& record, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i)
        start = record.find(',', start) + 1;
    const std::size_t end = record.find(',', start);
    return record.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST(RealTrafficRecords, RecordingEntriesKeepTheirPacing) {
    mrwtest::TempDir dir;
    mrwtest::writeFile(dir / "r.csv",
                       "{\"QNH\": \"2996\"}\r\n"
                       "AITFC,1,34.0,-118.0,2000,0,1,97,90,N1,C172,N1,,,1000\r\n"
                       "noise\n"
                       "AITFC,2,34.0,-118.0,2000,0,1,97,90,N2,C172,N2,,,1012.5\n"
                       "{\"QNH\": 1013}\n"
                       "AITFC,3,34.0,-118.0,2000,0,1,97,90,N3,C172,N3,,,1011\n"
                       "AITFC,4,short\n");
    const auto entries = rtpeer::readRecording(dir / "r.csv");
    ASSERT_EQ(entries.size(), 5U);
    EXPECT_TRUE(entries[0].weather);
    EXPECT_EQ(entries[0].offsetSeconds, 0.0);
    EXPECT_EQ(entries[0].text, "{\"QNH\": \"2996\"}");
    EXPECT_EQ(entries[2].offsetSeconds, 12.5);
    EXPECT_TRUE(entries[3].weather);
    EXPECT_EQ(entries[3].offsetSeconds, 12.5);
    EXPECT_EQ(entries[4].offsetSeconds, 12.5);  // late record: sent in file order, at once
    EXPECT_THROW(rtpeer::readRecording(dir / "missing.csv"), std::runtime_error);
}

TEST(RealTrafficRecords, RecordedTrafficInTheCurrentForm) {
    const std::string record = rtpeer::currentTrafficRecord(
        "AITFC,854930,33.9404,-118.3844,0,0,1,81,20,VIV511,A20N,XA-VIQ,LAX,GDL,1592423552", 1765380000.25);
    EXPECT_EQ(fieldCount(record), 44U);
    EXPECT_EQ(record.substr(0, 76),
              "RTTFC,854930,33.9404,-118.3844,0,0,1,81,20,VIV511,A20N,XA-VIQ,LAX,GDL,176538");
    EXPECT_EQ(field(record, 14), "1765380000.25");
    EXPECT_EQ(field(record, 17), "");
    EXPECT_EQ(field(record, 20), "-1");
    EXPECT_EQ(field(record, 23), "-1");
    EXPECT_EQ(field(record, 28), "");
}

TEST(RealTrafficRecords, GeneratedAircraftFliesItsTrack) {
    const rtpeer::GeneratedAircraft aircraft =
        rtpeer::parseGeneratedAircraft("11260357,SWA962,B738,N8604K,SFO,LAX,33.95,-118.30,5000,90,360,-600");
    // 10 minutes at 360 kt eastwards along the great circle: 60 nm, one degree of arc.
    const std::string record = rtpeer::generatedTrafficRecord(aircraft, 600.0, 1765380000.0);
    EXPECT_EQ(fieldCount(record), 44U);
    EXPECT_EQ(field(record, 1), "11260357");
    EXPECT_NEAR(std::stod(field(record, 2)), 33.9441, 0.001);  // a great circle heading east bends south
    EXPECT_NEAR(std::stod(field(record, 3)), -117.0945, 0.001);
    EXPECT_EQ(field(record, 4), "0");  // 5000 ft - 6000 ft: on the ground, never below
    EXPECT_EQ(field(record, 6), "0");
    EXPECT_EQ(field(record, 9), "SWA962");
    EXPECT_EQ(field(record, 17), "adsb_icao");
    EXPECT_EQ(field(record, 25), "90.0");
    EXPECT_THROW(rtpeer::parseGeneratedAircraft("1,A,B738"), std::invalid_argument);
    EXPECT_THROW(rtpeer::parseGeneratedAircraft("x,A,B,C,D,E,1,2,3,4,5,6"), std::invalid_argument);
}

}  // namespace

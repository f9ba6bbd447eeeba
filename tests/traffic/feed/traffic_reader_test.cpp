#include "traffic/feed/traffic_reader.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <utility>

#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "traffic/feed/traffic_record_checks.h"
#include "traffic/feed/traffic_record_test_support.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/main_loop_state.h"

namespace {

using mrwtest::parseRecord;
using mrwtest::TrafficRecord;

enum F : std::size_t {
    kHexid = 1,
    kLat = 2,
    kLon = 3,
    kAlt = 4,
    kVs = 5,
    kTrack = 7,
    kGs = 8,
    kCallsign = 9,
    kType = 10,
    kReg = 11,
    kOrigin = 12,
    kDest = 13,
    kTime = 14,
    kSource = 17,
    kTas = 20,
    kRoll = 23,
    kHeading = 25,
    kCategory = 28,
};

class TrafficReaderTest : public ::testing::Test {
  protected:
    mrwtest::TrafficReaderState state;

    int logCount(const std::string& text) const {
        const std::string log = state.logText();
        int count = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
            ++count;
        return count;
    }
};

TEST_F(TrafficReaderTest, AcceptedRecordBecomesAReport) {
    mrw::g_engineTick = 500;
    const auto report = parseRecord(TrafficRecord{}.set(kRoll, "10").text());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->hexid, 11260357U);
    EXPECT_EQ(report->reportTime, 1592423555.0);
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 1592423555.0);
    EXPECT_EQ(report->identity.callsign, "SWA962");
    EXPECT_EQ(report->identity.registration, "N8604K");
    EXPECT_EQ(report->identity.origin, mrw::FixedCode<3>("SFO"));
    EXPECT_EQ(report->identity.destination, mrw::FixedCode<3>("LAX"));
    EXPECT_EQ(mrw::g_modelCodes().text(report->identity.designation.model), "B738");
    EXPECT_EQ(report->identity.designation.airline, 0);
    EXPECT_TRUE(report->identity.optionCallsign.empty());
    const mrw::PositionSample& s = report->sample;
    EXPECT_EQ(s.lat, 33.95);
    EXPECT_EQ(s.lon, -118.3);
    EXPECT_EQ(s.altitudeFt, 5000.0);
    EXPECT_TRUE(s.airborne);
    EXPECT_EQ(s.verticalRateFpm, -500.0);
    EXPECT_EQ(s.trackDeg, 250.0);
    EXPECT_EQ(s.groundSpeedKt, 180.0);
    EXPECT_EQ(s.trueAirspeedKt, 220.0);  // -1: by altitude
    EXPECT_EQ(s.dueTick, 3500);
    ASSERT_TRUE(s.rollRad);
    EXPECT_DOUBLE_EQ(*s.rollRad, -10.0 * std::numbers::pi / 180.0);
    EXPECT_FALSE(s.headingRad);
    EXPECT_FALSE(s.headingFromAdsb);
    EXPECT_FALSE(s.stationary);
    mrw::g_engineTick = 0;
}

TEST_F(TrafficReaderTest, BadFieldsEndTheRecordWithTheirLogLine) {
    struct Case {
        std::size_t index;
        std::string value;
        std::string logged;  // after "exception in processLineSub: "
    };
    const TrafficRecord base;
    const Case cases[] = {
        {kHexid, "ABC123", "hexid incorrectABC123"},
        {kHexid, "4294967296", "hexid incorrect4294967296"},
        {kLat, "91", "invalid lalo: 91.000000,-118.300000"},
        {kLat, "nan", "lat:nan"},
        {kLon, "-inf", "lon:-inf"},
        {kLon, "W118", "lon:W118"},
        {kAlt, "x12", "altitude x12 incorrect, from: " + TrafficRecord{base}.set(kAlt, "x12").text()},
        {kAlt, "infinity", "altitude infinity incorrect, from: "},
        {kVs, "NaN", "vs:NaN"},
        {kGs, "", "gs:"},
        {kTrack, "abc", "track incorrect abc"},
        {kTrack, "inf", "track incorrect inf"},
        {kTas, "fast", "TAS incorrectfast"},
        {kRoll, "1e999", "roll:1e999"},
        {kTime, "noon", "timestamp:noon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_FALSE(parseRecord(TrafficRecord{base}.set(c.index, c.value).text()));
        EXPECT_EQ(logCount("exception in processLineSub: " + c.logged), 1);
    }
}

// Numbers no aircraft can have are refused like a latitude of 91, with the throttled error line:
// each bound itself passes, a little beyond it does not. (A record within the bounds may still be
// dropped for other reasons: a ground speed of -1 puts it on the ground, away from a park airport.)
TEST_F(TrafficReaderTest, PhysicallyImpossibleValuesAreRefused) {
    struct Case {
        std::size_t index;
        std::string value;
        bool kept;
        std::string logged;  // after "exception in processLineSub: "; empty: within the bounds
    };
    const Case cases[] = {
        {kGs, "300", true, ""},
        {kGs, "2500", true, ""},
        {kGs, "-1", false, ""},
        {kGs, "2500.5", false, "gs out of range: 2500.5"},
        {kGs, "1e308", false, "gs out of range: 1e+308"},
        {kGs, "-1e308", false, "gs out of range: -1e+308"},
        {kTas, "2500", true, ""},
        {kTas, "1e308", false, "TAS out of range: 1e+308"},
        {kAlt, "150000", true, ""},
        {kAlt, "-5000", false, ""},
        {kAlt, "1e9", false, "altitude out of range: 1000000000"},
        {kAlt, "-5001", false, "altitude out of range: -5001"},
        {kVs, "-100000", true, ""},
        {kVs, "1e308", false, "vs out of range: 1e+308"},
        {kVs, "-1e308", false, "vs out of range: -1e+308"},
        {kTrack, "360", true, ""},
        {kTrack, "-360", true, ""},
        {kTrack, "360.5", false, "track out of range: 360.5"},
        {kTrack, "1e308", false, "track out of range: 1e+308"},
        {kTrack, "-1e308", false, "track out of range: -1e+308"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.index) + ": " + c.value);
        const int refusedBefore = logCount(" out of range: ");
        EXPECT_EQ(parseRecord(TrafficRecord{}.set(c.index, c.value).text()).has_value(), c.kept);
        if (c.logged.empty()) {
            EXPECT_EQ(logCount(" out of range: "), refusedBefore);
        } else {
            EXPECT_EQ(logCount("exception in processLineSub: " + c.logged + "\n"), 1);
        }
    }
}

// A time stamp off the calendar is refused: the traffic clock keeps the last good one, and with it
// the week slot of the professional edition.
TEST_F(TrafficReaderTest, TimeStampsOffTheCalendarLeaveTheClockOnIt) {
    mrw::g_rtProfessional = true;
    EXPECT_TRUE(parseRecord(TrafficRecord{}.set(kTime, "1592423555").text()));
    int refused = 0;
    for (const char* stamp : {"9.3e18", "1e19", "-1e19", "1e300", "-1e300", "-1", "253402300800"}) {
        SCOPED_TRACE(stamp);
        EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kTime, stamp).text()));
        EXPECT_EQ(logCount("exception in processLineSub: timestamp out of range: "), ++refused);
        EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 1592423555.0);
        EXPECT_EQ(mrw::gf_trafficClockSeconds(), 1592423555);
        // Wednesday 2020-06-17 19:52:35 UTC.
        EXPECT_EQ(mrw::gf_weekdayAndHalfHour(), std::make_pair(3, 39));
    }
    mrw::g_rtProfessional = false;
}

TEST_F(TrafficReaderTest, PositionNearZeroZeroIsInvalid) {
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kLat, "0.00005").set(kLon, "-0.00002").text()));
    EXPECT_EQ(logCount("exception in processLineSub: invalid lalo: 0.000050,-0.000020\n"), 1);
}

TEST_F(TrafficReaderTest, SilentDrops) {
    struct Case {
        const char* why;
        TrafficRecord record;
    };
    const TrafficRecord base;
    const Case cases[] = {
        {"hexid read as 4840", TrafficRecord{base}.set(kHexid, "4840D6")},
        {"static number", TrafficRecord{base}.set(kHexid, "10000")},
        {"out of range", TrafficRecord{base}.set(kLat, "35.0")},
        {"13-character registration", TrafficRecord{base}.set(kReg, "ABCDEFGHIJKLM")},
        {"null type", TrafficRecord{base}.set(kType, "null")},
        {"empty type", TrafficRecord{base}.set(kType, "")},
        {"pseudo type", TrafficRecord{base}.set(kType, "GRND")},
        {"long type", TrafficRecord{base}.set(kType, "B7378")},
        {"emitter category", TrafficRecord{base}.set(kCategory, "C1")},
        {"test callsign", TrafficRecord{base}.set(kCallsign, "TEST")},
        {"'@' callsign, no registration", TrafficRecord{base}.set(kCallsign, "@@@").set(kReg, "null")},
        {"no callsign, no registration", TrafficRecord{base}.set(kCallsign, "null").set(kReg, "")},
        {"on the ground, no park airport", TrafficRecord{base}.set(kAlt, "0").set(kGs, "10")},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(parseRecord(c.record.text())) << c.why;
    }
    EXPECT_EQ(logCount("exception"), 0);
}

TEST_F(TrafficReaderTest, ShortRecordsAndVehiclesAreIgnoredWhole) {
    // The older 15-field form and a parked-traffic record: nothing read, not even the timestamp.
    EXPECT_FALSE(
        parseRecord("AITFC,10914900,34.0729,-117.8383,2000,-192,1,97,90,N52070,C172,N52070,EMT,,1592423568"));
    EXPECT_FALSE(parseRecord("RTDEST,11260357,xx,yy,1,2,3,4,5"));
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 0.0);
    // A valid record with " VEH" anywhere.
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kCallsign, "SWA962 VEH").text()));
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kCategory, "A3 VEHICLE").text()));
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 0.0);
    EXPECT_EQ(logCount("exception"), 0);
}

TEST_F(TrafficReaderTest, KeptRecordsAndTheirIdentity) {
    auto report = parseRecord(TrafficRecord{}.set(kReg, "ABCDEFGHIJKL").text());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->identity.registration, "ABCDEFGHIJKL");

    report = parseRecord(TrafficRecord{}.set(kReg, " N835AN").set(kCallsign, " AAL12 ").text());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->identity.registration, "N835AN");
    EXPECT_EQ(report->identity.callsign, "AAL12");

    report = parseRecord(TrafficRecord{}.set(kCallsign, "AB@CD").text());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->identity.callsign, "");

    report = parseRecord(TrafficRecord{}.set(kReg, "null").text());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->identity.registration, "");
}

TEST_F(TrafficReaderTest, OddRoutesAreKeptWithoutCodeAndLoggedOncePerAircraft) {
    struct Case {
        const char* origin;
        const char* destination;
        const char* expectedOrigin;  // nullptr = no code
        const char* expectedDestination;
    };
    const Case cases[] = {
        {"", "", nullptr, nullptr},      {"null", "lax", nullptr, "LAX"}, {"KLAX", "SFO", nullptr, "SFO"},
        {"SFO", "EGLL", "SFO", nullptr}, {"S-O", "", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.origin) + "/" + c.destination);
        const auto report =
            parseRecord(TrafficRecord{}.set(kOrigin, c.origin).set(kDest, c.destination).text());
        ASSERT_TRUE(report);
        EXPECT_EQ(report->identity.origin,
                  c.expectedOrigin ? mrw::FixedCode<3>(c.expectedOrigin) : mrw::FixedCode<3>());
        EXPECT_EQ(report->identity.destination,
                  c.expectedDestination ? mrw::FixedCode<3>(c.expectedDestination) : mrw::FixedCode<3>());
    }
    // Three records of one aircraft with odd codes: one line. Another aircraft: its own line.
    EXPECT_EQ(logCount("route code"), 1);
    EXPECT_TRUE(parseRecord(TrafficRecord{}.set(kHexid, "777777").set(kOrigin, "KSFO").text()));
    EXPECT_EQ(logCount("route code"), 2);
    EXPECT_EQ(logCount("hexid 777777: route code 'KSFO'"), 1);
    EXPECT_EQ(logCount("exception"), 0);
}

TEST_F(TrafficReaderTest, TrueHeadingFromAdsbSources) {
    struct Case {
        const char* source;
        const char* heading;
        const char* track;
        std::optional<double> headingRad;
        double trackDeg;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {
        {"adsb_icao", "0", "", 2 * pi, 360.0},
        {"adsb_icao", "0", "0", 2 * pi, 360.0},
        {"F_adsb_icao", "90", "250", pi / 2, 250.0},
        {"X_adsb_icao", "360", "0", 2 * pi, 360.0},
        {"adsb_icao", "-1", "", std::nullopt, 0.0},
        {"adsb_other", "90", "", std::nullopt, 0.0},
        {"FF_adsb_icao", "90", "12", std::nullopt, 12.0},
        {"", "90", "12", std::nullopt, 12.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " " + c.heading);
        const auto report = parseRecord(
            TrafficRecord{}.set(kSource, c.source).set(kHeading, c.heading).set(kTrack, c.track).text());
        ASSERT_TRUE(report);
        ASSERT_EQ(report->sample.headingRad.has_value(), c.headingRad.has_value());
        if (c.headingRad) {
            EXPECT_DOUBLE_EQ(*report->sample.headingRad, *c.headingRad);
        }
        EXPECT_EQ(report->sample.headingFromAdsb, c.headingRad.has_value());
        EXPECT_DOUBLE_EQ(report->sample.trackDeg, c.trackDeg);
    }
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kSource, "adsb_icao").set(kHeading, "360.5").text()));
    EXPECT_EQ(logCount("exception in processLineSub: trueheading: 360.50"), 1);
}

TEST_F(TrafficReaderTest, TrueAirspeedByAltitudeWhenUnknown) {
    mrwtest::TrafficReaderState::setKlaxParkAirport();
    // At 20000 ft the altimeter correction applies in full: this user offset cancels the QNH part.
    mrw::TrafficReader::userAltitudes.store({0.0, 7.5});
    struct Case {
        const char* altitude;
        const char* groundSpeed;
        double tas;
    };
    const Case cases[] = {{"2000", "200", 180.0},  {"5000", "200", 220.0},  {"7500", "200", 250.0},
                          {"10000", "200", 250.0}, {"15000", "300", 350.0}, {"20000", "300", 350.0},
                          {"25000", "300", 430.0}, {"0", "10", 180.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.altitude);
        const auto report = parseRecord(TrafficRecord{}
                                            .set(kAlt, c.altitude)
                                            .set(kGs, c.groundSpeed)
                                            .set(kLat, "33.9430")
                                            .set(kLon, "-118.4000")
                                            .text());
        ASSERT_TRUE(report);
        EXPECT_EQ(report->sample.trueAirspeedKt, c.tas);
    }
    const auto given = parseRecord(TrafficRecord{}.set(kTas, "312.5").text());
    ASSERT_TRUE(given);
    EXPECT_EQ(given->sample.trueAirspeedKt, 312.5);
}

TEST_F(TrafficReaderTest, GroundTrafficOnlyAtTheParkAirportAndWithoutRoll) {
    mrwtest::TrafficReaderState::setKlaxParkAirport();
    const TrafficRecord taxiing = TrafficRecord{}.set(kAlt, "0").set(kGs, "12").set(kRoll, "5");
    auto report = parseRecord(TrafficRecord{taxiing}.set(kLat, "33.9430").set(kLon, "-118.4000").text());
    ASSERT_TRUE(report);
    EXPECT_FALSE(report->sample.airborne);
    EXPECT_EQ(report->sample.altitudeFt, 0.0);
    EXPECT_FALSE(report->sample.rollRad);
    // 6 nm away from the park airport.
    EXPECT_FALSE(parseRecord(TrafficRecord{taxiing}.set(kLat, "34.0425").text()));
    // Slow at cruise altitude: put on the ground, then too far from the park airport.
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kAlt, "30000").set(kGs, "35").text()));
}

TEST_F(TrafficReaderTest, RollZeroOrMinusOneMeansNone) {
    for (const char* roll : {"0", "-1"}) {
        const auto report = parseRecord(TrafficRecord{}.set(kRoll, roll).text());
        ASSERT_TRUE(report);
        EXPECT_FALSE(report->sample.rollRad) << roll;
    }
    const auto report = parseRecord(TrafficRecord{}.set(kRoll, "-20").text());
    ASSERT_TRUE(report && report->sample.rollRad);
    EXPECT_DOUBLE_EQ(*report->sample.rollRad, 20.0 * std::numbers::pi / 180.0);
}

TEST_F(TrafficReaderTest, ClosedIntakeQueuesNothingButTheClockMoves) {
    {
        const std::lock_guard lock(mrw::g_trafficMutex);
        mrw::g_injectionActive = false;
    }
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kTime, "1592423600.5").text()));
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 1592423600.5);
    // A record dropped later still moves the clock.
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kTime, "1592423601").set(kType, "null").text()));
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 1592423601.0);
    // So do records out of range and records with an invalid position.
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kTime, "1592423602").set(kLat, "35.0").text()));
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 1592423602.0);
    EXPECT_FALSE(parseRecord(TrafficRecord{}.set(kTime, "1592423603").set(kLat, "91").text()));
    EXPECT_EQ(mrw::TrafficReader::trafficTime.load(), 1592423603.0);
}

TEST_F(TrafficReaderTest, CollectedCallsignsGoToTheLiveCallsigns) {
    mrw::TrafficReader::collectCallsigns = true;
    parseRecord(TrafficRecord{}.set(kCallsign, "DAL5").set(kType, "null").text());  // collected, then dropped
    parseRecord(TrafficRecord{}.set(kCallsign, "UAL@1").text());
    parseRecord(TrafficRecord{}.set(kCallsign, "null").text());
    parseRecord(TrafficRecord{}.set(kCallsign, "SWA962").set(kLat, "36.0").text());  // out of range
    mrw::g_liveCallsigns.insert("OLD1");
    mrw::lf_takeCollectedCallsigns();
    EXPECT_EQ(mrw::g_liveCallsigns, (std::unordered_set<std::string>{"DAL5"}));
    EXPECT_FALSE(mrw::TrafficReader::collectCallsigns.load());
    {
        const std::lock_guard lock(mrw::TrafficReader::callsignsMutex);
        EXPECT_TRUE(mrw::TrafficReader::callsigns.empty());
    }
    // Not collecting any more.
    parseRecord(TrafficRecord{}.set(kCallsign, "KLM1").text());
    const std::lock_guard lock(mrw::TrafficReader::callsignsMutex);
    EXPECT_TRUE(mrw::TrafficReader::callsigns.empty());
}

// Callsigns collected for the static parking stay bounded whatever arrives: a text longer than a
// real callsign is none, and a flood of made-up ones stops at the bound.
TEST_F(TrafficReaderTest, CollectedCallsignsStayWithinTheirBound) {
    mrw::TrafficReader::collectCallsigns = true;
    const auto collected = [] {
        const std::lock_guard lock(mrw::TrafficReader::callsignsMutex);
        return mrw::TrafficReader::callsigns.size();
    };
    parseRecord(TrafficRecord{}.set(kCallsign, "ABCD1234").text());
    EXPECT_EQ(collected(), 1u) << "eight characters: a callsign";
    for (int i = 0; i < 50; ++i)
        parseRecord(TrafficRecord{}.set(kCallsign, std::to_string(i) + std::string(15000, 'X')).text());
    parseRecord(TrafficRecord{}.set(kCallsign, "ABCD12345").text());
    EXPECT_EQ(collected(), 1u);
    const std::size_t bound = mrw::TrafficReader::kMaxCollectedCallsigns;
    for (std::size_t i = 0; i < bound + 100; ++i)
        parseRecord(TrafficRecord{}.set(kCallsign, "C" + std::to_string(i)).set(kType, "null").text());
    EXPECT_EQ(collected(), bound);
    mrw::lf_takeCollectedCallsigns();
    EXPECT_EQ(mrw::g_liveCallsigns.size(), bound);
    EXPECT_TRUE(mrw::g_liveCallsigns.contains("ABCD1234"));
    mrw::g_liveCallsigns.clear();
}

TEST(TrafficRecordChecks, RecordKinds) {
    struct Case {
        const char* type;
        const char* category;
        bool aircraft;
    };
    const Case cases[] = {
        {"B738", "A3", true}, {"B738", "", true},   {"B738", "B1", false}, {"B738", "C2", false},
        {"B738", "b1", true}, {"", "A1", false},    {"null", "A1", false}, {"GND", "", false},
        {"TWR", "", false},   {"BALL", "", false},  {"PARA", "", false},   {"A3200", "", false},
        {"GLI", "", true},    {"C172", "A1", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mrw::gf_isRealAircraft(c.type, c.category), c.aircraft) << c.type << "/" << c.category;
    }
    EXPECT_TRUE(mrw::gf_isPseudoType("EMER"));
    EXPECT_TRUE(mrw::gf_isPseudoType("ABCDE"));
    EXPECT_FALSE(mrw::gf_isPseudoType("emer"));
}

class CheckAirborneTest : public ::testing::Test {
  protected:
    mrwtest::TrafficReaderState state;

    static mrw::PositionSample sample(double altitudeFt, double groundSpeedKt) {
        mrw::PositionSample s;
        s.altitudeFt = altitudeFt;
        s.groundSpeedKt = groundSpeedKt;
        return s;
    }
};

TEST_F(CheckAirborneTest, OnGroundDecision) {
    struct Case {
        double altitude, groundSpeed;
        std::optional<double> elevation;
        double expected;
    };
    const Case cases[] = {
        {1500, 100, 1460, 0},          // 40 ft above, 100 kt
        {1530, 90, 1460, 1530},        // 70 ft above, faster than 80 kt
        {1530, 80, 1460, 0},           // 70 ft above, 80 kt
        {1570, 43, 1460, 0},           // 110 ft above, 43 kt
        {1570, 44, 1460, 1570},        // 110 ft above, 44 kt
        {1400, 200, 1460, 0},          // below the ground
        {40, 100, std::nullopt, 40},   // no park airport: the ground is taken at -1000 ft
        {30000, 35, std::nullopt, 0},  // slow at any altitude
        {13000, 36, std::nullopt, 13000},
        {-50, 300, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.altitude);
        mrw::PositionSample s = sample(c.altitude, c.groundSpeed);
        EXPECT_TRUE(mrw::gf_checkAirborne(s, c.elevation, 1013));
        EXPECT_EQ(s.altitudeFt, c.expected);
    }
}

TEST_F(CheckAirborneTest, AltimeterCorrectionBlendsInAbove17000Feet) {
    mrw::TrafficReader::userAltitudes.store({35000.0, 34900.0});  // +100 ft
    struct Case {
        double altitude;
        int qnh;
        double expected;
    };
    // Correction at QNH 1003: +100 + 10.25 x 30 = 407.5 ft.
    const Case cases[] = {
        {16000, 1003, 16000},
        {17000, 1003, 17000},
        {18000, 1003, 18000 + 0.5 * 407.5},
        {19000, 1003, 19000 + 407.5},
        {35000, 1013, 35000 + 100 + 7.5},
    };
    for (const Case& c : cases) {
        mrw::PositionSample s = sample(c.altitude, 400);
        EXPECT_TRUE(mrw::gf_checkAirborne(s, std::nullopt, c.qnh));
        EXPECT_DOUBLE_EQ(s.altitudeFt, c.expected) << c.altitude;
    }
}

TEST_F(CheckAirborneTest, AirborneOnlyKeepsAircraftWellAboveTheParkAirport) {
    mrw::g_parameters().AIRBORNE_ONLY.current = true;
    struct Case {
        double altitude;
        std::optional<double> parkElevation;  // nothing: no park airport
        bool kept;
    };
    const Case cases[] = {
        {140, std::nullopt, false}, {150, std::nullopt, false}, {150.5, std::nullopt, true},
        {160, std::nullopt, true},  {1140, 1000.0, false},      {1150, 1000.0, false},
        {1151, 1000.0, true},       {0, -200.0, true},  // on the ground, the field lies lower than -150 ft
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.altitude);
        if (c.parkElevation) {
            mrw::TrafficReader::parkAirport.store(mrw::ParkAirportRef{{0, 0}, *c.parkElevation});
        } else {
            mrw::TrafficReader::parkAirport.store(std::nullopt);
        }
        mrw::PositionSample s = sample(c.altitude, c.altitude == 0 ? 0 : 200);
        EXPECT_EQ(mrw::gf_checkAirborne(s, c.parkElevation, 1013), c.kept);
    }
}

}  // namespace

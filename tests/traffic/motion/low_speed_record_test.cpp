// A light aircraft cruising at 1,000 to 1,300 ft with one record whose speed field is broken (20 kt):
// the records go through the traffic record parser, which takes any record at taxi speed to be on
// the ground and keeps ground records only near the park airport, and then through the motion.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "foundation/geometry.h"
#include "traffic/feed/traffic_record_test_support.h"
#include "traffic/motion/motion_math.h"
#include "traffic/motion/motion_test_support.h"
#include "traffic/motion/motion_world.h"

namespace mrw {
namespace {

using test::FedSample;

constexpr int kRecords = 24;
constexpr int kBrokenRecord = 12;
constexpr double kRecordSeconds = 12;
constexpr double kSpeedKt = 100;

// The records of one aircraft flying east at 100 kt from `start`, every 12 s as light aircraft
// report, as parsed; the broken record reports 20 kt at 1,300 ft.
std::vector<FedSample> lf_parsedFlight(Lalo start) {
    std::vector<FedSample> feed;
    for (int i = 0; i < kRecords; ++i) {
        const double seconds = i * kRecordSeconds;
        const Lalo at = gf_destinationPoint(start, kPi / 2, kSpeedKt * seconds / 3600 * kFeetPerNm);
        const bool broken = i == kBrokenRecord;
        const double altitudeFt = broken ? 1300 : 1000 + 300 * (i % 4) / 3.0;
        mrwtest::TrafficRecord record;
        record.set(1, "11534337")
            .set(2, fmt::format("{:.6f}", at.latitude))
            .set(3, fmt::format("{:.6f}", at.longitude))
            .set(4, fmt::format("{:.0f}", altitudeFt))
            .set(5, "0")
            .set(7, "90")
            .set(8, broken ? "20" : fmt::format("{:.0f}", kSpeedKt))
            .set(9, "N172GL")
            .set(10, "C172")
            .set(11, "N172GL")
            .set(14, fmt::format("{:.0f}", 1592423555 + seconds))
            .set(20, fmt::format("{:.0f}", kSpeedKt));
        const std::optional<TrafficReport> report = mrwtest::parseRecord(record.text());
        if (!report) continue;
        FedSample fed;
        fed.tick = 1000 + static_cast<std::int32_t>(seconds * 100);
        fed.hexid = report->hexid;
        fed.category = AcCategory::Light;
        fed.callsign = report->identity.callsign;
        fed.sample = report->sample;
        feed.push_back(fed);
    }
    return feed;
}

int lf_groundSamples(const std::vector<FedSample>& feed) {
    return static_cast<int>(
        std::count_if(feed.begin(), feed.end(), [](const FedSample& fed) { return !fed.sample.airborne; }));
}

class LowSpeedRecordAloft : public ::testing::Test {
  protected:
    void SetUp() override {
        test::gf_resetMotionState(1000);
        test::gf_setKlaxParkAirport();
        mrwtest::TrafficReaderState::setKlaxParkAirport();
    }
    void TearDown() override { test::gf_resetMotionState(); }

    mrwtest::TrafficReaderState m_reader;
};

TEST_F(LowSpeedRecordAloft, IsAGlitchNotALandingNearTheParkAirportAndBeyondIt) {
    const Lalo klax{test::kKlaxLat, test::kKlaxLon};
    struct Case {
        const char* name;
        double northNm;
        int groundRecords;  // what the parser makes of the broken record
    };
    // Near the park airport the broken record is a ground sample; beyond 5 nm the parser drops it.
    for (const Case& c : {Case{"3 nm north of the park airport", 3, 1}, Case{"8 nm north of it", 8, 0}}) {
        SCOPED_TRACE(c.name);
        const Lalo start = gf_destinationPoint(gf_destinationPoint(klax, 0, c.northNm * kFeetPerNm),
                                               1.5 * kPi, 2.8 * kFeetPerNm);
        const std::vector<FedSample> feed = lf_parsedFlight(start);
        ASSERT_EQ(lf_groundSamples(feed), c.groundRecords);
        ASSERT_EQ(feed.size(), static_cast<std::size_t>(kRecords - 1 + c.groundRecords));
        test::MotionWorld world(test::kKlaxElevationFt);
        world.run(feed, 30000);
        for (const std::string& failure : world.failures())
            ADD_FAILURE() << failure;
        EXPECT_EQ(world.landings(), 0);
        // The samples lie 875 ft or more above the ground.
        EXPECT_GT(world.lowestHeightFt(), 800.0) << "dived towards the ground";
        const auto& phases = world.phasesSeen();
        EXPECT_FALSE(phases.contains(FlightPhase::Taxi)) << "taxiing under airborne samples";
        EXPECT_EQ(world.created(), 1);
        EXPECT_EQ(world.removed(), 1);
        SetUp();
    }
}

}  // namespace
}  // namespace mrw

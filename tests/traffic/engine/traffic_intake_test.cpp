#include "traffic/engine/traffic_intake.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "aircraft/aircraft_database.h"
#include "aircraft/code_tables.h"
#include "config/parameter_catalogue.h"
#include "engine_harness.h"
#include "foundation/geometry.h"
#include "traffic/model/engine_containers.h"
#include "traffic/motion/motion_math.h"
#include "traffic/parking/static_parking.h"

namespace mrwtest {
namespace {

class TrafficIntakeTest : public EngineHarness {
  protected:
    void TearDown() override {
        mrw::g_parkAirport = {};
        mrw::g_dbaseRecords().clear();
        EngineHarness::TearDown();
    }

    static void take(const ReportSpec& spec) {
        mrw::TrafficReport report = makeReport(spec);
        mrw::lf_takeTrafficReport(report);
    }
};

struct ThinningCase {
    const char* name;
    bool lastAirborne;
    double lastSpeedKt;
    double lastTrackDeg;
    bool airborne;
    double speedKt;
    double trackDeg;
    double secondsLater;
    int streamEndState;
    bool taken;
};

TEST_F(TrafficIntakeTest, ThinningOfReportsOfAKnownHexid) {
    const std::vector<ThinningCase> cases{
        {"1.0 s after the last", true, 240, 90, true, 240, 95, 1.0, 0, false},
        {"1.5 s after the last", true, 240, 90, true, 240, 95, 1.5, 0, true},
        {"100 kt then 9 kt", false, 100, 90, false, 9, 95, 10, 0, false},
        {"9 kt then 100 kt", false, 9, 90, false, 100, 95, 10, 0, false},
        {"3 kt then 85 kt", false, 3, 90, false, 85, 95, 10, 0, false},
        {"85 kt then 3 kt", false, 85, 90, false, 3, 95, 10, 0, false},
        {"4 kt then 30 kt", false, 4, 90, false, 30, 90, 10, 0, true},
        {"240 kt same track after 3 s", true, 240, 90, true, 240, 90, 3, 0, false},
        {"240 kt same track after 4 s", true, 240, 90, true, 240, 90, 4, 0, true},
        {"240 kt turning 1.5 degrees after 2 s", true, 240, 90, true, 240, 91.5, 2, 0, true},
        {"standing after 15 s", false, 0, 90, false, 0, 90, 15, 0, false},
        {"standing after 15.5 s", false, 0, 90, false, 0, 90, 15.5, 0, true},
        {"taxiing 10 kt turning 3 degrees after 2 s", false, 10, 90, false, 10, 93, 2, 0, true},
        {"359 and 1 degrees differ by 358", false, 10, 359, false, 10, 1, 2, 0, true},
        {"extrapolated stream skips the distance rules", true, 240, 90, true, 240, 90, 2, 1, true},
    };
    for (const ThinningCase& c : cases) {
        mrw::g_liveAcs.clear();
        const double altitude = c.lastAirborne ? 5000 : 0;
        take({.hexid = 0x400100,
              .altitudeFt = altitude,
              .groundSpeedKt = c.lastSpeedKt,
              .trackDeg = c.lastTrackDeg,
              .reportTime = 5000});
        ASSERT_NE(live(0x400100), nullptr) << c.name;
        live(0x400100)->streamEndState = c.streamEndState;
        // The later report lies where its speed took the aircraft: a report that has not moved is
        // noise the stream drops, whatever the thinning decides.
        const mrw::Lalo moved = mrw::gf_destinationPoint(
            {ReportSpec{}.lat, ReportSpec{}.lon}, c.trackDeg * std::numbers::pi / 180.0,
            c.speedKt * c.secondsLater / 3600.0 * mrw::kFeetPerNm);
        take({.hexid = 0x400100,
              .lat = moved.latitude,
              .lon = moved.longitude,
              .altitudeFt = c.airborne ? 5000.0 : 0.0,
              .groundSpeedKt = c.speedKt,
              .trackDeg = c.trackDeg,
              .reportTime = 5000 + c.secondsLater});
        EXPECT_EQ(live(0x400100)->samples.size(), c.taken ? 2u : 1u) << c.name;
        EXPECT_EQ(live(0x400100)->lastReportTime, c.taken ? 5000 + c.secondsLater : 5000) << c.name;
    }
}

TEST_F(TrafficIntakeTest, ReportsOfAircraftBeingRemovedOrRespawnedAreDropped) {
    for (mrw::SimState state : {mrw::SimState::LiveryRespawn, mrw::SimState::RemovingFromSim}) {
        mrw::g_liveAcs.clear();
        take({.hexid = 0x400200, .reportTime = 100});
        live(0x400200)->simState = state;
        live(0x400200)->samples.clear();
        take({.hexid = 0x400200, .reportTime = 200});
        EXPECT_TRUE(live(0x400200)->samples.empty()) << mrw::gf_simStateName(state);
    }
}

TEST_F(TrafficIntakeTest, LowReportsNearTheParkAirportAreFilteredWhileBuffered) {
    mrw::g_parkAirport.code = mrw::FixedCode<4>("EDDF");
    mrw::g_parkAirport.altitude = 400.0F;
    take({.hexid = 0x400300, .altitudeFt = 500, .reportTime = 100});
    EXPECT_EQ(live(0x400300), nullptr) << "a new aircraft at 500 ft near the park airport";
    take({.hexid = 0x400300, .altitudeFt = 0, .reportTime = 100});
    ASSERT_NE(live(0x400300), nullptr);
    take({.hexid = 0x400300, .altitudeFt = 520, .groundSpeedKt = 0, .reportTime = 200});
    EXPECT_EQ(live(0x400300)->samples.size(), 1u) << "buffered: 520 ft within 120 ft of 400 ft";
    take({.hexid = 0x400300, .altitudeFt = 0, .groundSpeedKt = 0, .trackDeg = 180, .reportTime = 300});
    EXPECT_EQ(live(0x400300)->samples.size(), 2u);
    mrw::g_parkAirport = {};
    take({.hexid = 0x400301, .callsign = "DLH77", .altitudeFt = 500, .reportTime = 100});
    EXPECT_NE(live(0x400301), nullptr) << "without a park airport the elevation is -1000 ft";
}

TEST_F(TrafficIntakeTest, GroundReportsAreTakenAtAParkAirportNearSeaLevel) {
    mrw::g_parkAirport.code = mrw::FixedCode<4>("EHAM");
    mrw::g_parkAirport.altitude = 10.0F;
    take({.hexid = 0x400310, .callsign = "KLM11", .altitudeFt = 0, .reportTime = 100});
    ASSERT_NE(live(0x400310), nullptr) << "a new aircraft on the ground, 10 ft below the field";
    take({.hexid = 0x400310, .altitudeFt = 0, .groundSpeedKt = 0, .trackDeg = 180, .reportTime = 200});
    EXPECT_EQ(live(0x400310)->samples.size(), 2u) << "buffered: a ground report is no low approach";
    take({.hexid = 0x400311, .callsign = "KLM12", .altitudeFt = 100, .reportTime = 100});
    EXPECT_EQ(live(0x400311), nullptr) << "100 ft in the air over the field";
}

TEST_F(TrafficIntakeTest, NewHexids) {
    take({.hexid = 0x400400, .callsign = "DLH1", .model = "A320"});
    take({.hexid = 0x400401, .callsign = "DLH1", .model = "A320"});
    EXPECT_EQ(live(0x400401), nullptr) << "same callsign and model under another hexid";
    take({.hexid = 0x400402, .callsign = "DLH1", .model = "A321"});
    EXPECT_NE(live(0x400402), nullptr) << "same callsign, other model";
    take({.hexid = 0x400403, .callsign = "ZZZ1", .model = "ZZZZ"});
    EXPECT_EQ(live(0x400403), nullptr) << "a model the database does not list";
    mrw::g_parameters().LIGHT_AIRCRAFT.current.store(false);
    take({.hexid = 0x400404, .callsign = "N172SP", .model = "C172"});
    EXPECT_EQ(live(0x400404), nullptr) << "Light with LIGHT_AIRCRAFT off";
    mrw::g_parameters().LIGHT_AIRCRAFT.current.store(true);
    take({.hexid = 0x400405, .callsign = "N172SP", .model = "C172"});
    ASSERT_NE(live(0x400405), nullptr);
    const mrw::LiveAc& light = *live(0x400405);
    EXPECT_EQ(light.category, mrw::AcCategory::Light);
    EXPECT_DOUBLE_EQ(light.maxVerticalStepFt, 0.5);
    EXPECT_DOUBLE_EQ(light.manoeuvreSpeedKt, 5.0);
    EXPECT_DOUBLE_EQ(light.turnStep, light.turnRatePerTick);
    EXPECT_EQ(light.optionCallsign, "N172SP");
    EXPECT_EQ(light.simState, mrw::SimState::Buffer);
    EXPECT_EQ(light.phase, mrw::FlightPhase::Birth);
}

TEST_F(TrafficIntakeTest, ListedRegistrationTakesTheDatabaseDesignation) {
    const mrw::AcDesignation listed{mrw::gf_airlineIndex("DLH"), 0, mrw::gf_modelIndex("A321"), 0, 1};
    mrw::g_dbaseRecords() = {{"D-AIZX", listed}};
    take({.hexid = 0x400500,
          .callsign = "XYZ12",
          .registration = "D-AIZX",
          .airline = "XYZ",
          .model = "B738"});
    ASSERT_NE(live(0x400500), nullptr);
    EXPECT_EQ(live(0x400500)->designation, listed);
}

}  // namespace
}  // namespace mrwtest

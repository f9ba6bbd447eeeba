#include "traffic/model/aircraft_records.h"

#include <gtest/gtest.h>

#include <numbers>
#include <stdexcept>

#include "aircraft/ac_category.h"
#include "aircraft/code_tables.h"

namespace {

using mrw::AcCategory;

constexpr double kDeg = std::numbers::pi / 180.0;

class AircraftRecordsTest : public ::testing::Test {
  protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        mrw::g_modelCodes().resetForTests();
        mrw::gf_modelIndex("");
        mrw::g_rotorcraftModelSet().clear();
        mrw::g_heavyModelSet().clear();
    }

    static mrw::AircraftIdentity identity(const char* model) {
        mrw::AircraftIdentity id;
        id.designation.model = mrw::gf_modelIndex(model);
        id.callsign = "BAW123";
        id.registration = "G-ABCD";
        id.origin = mrw::FixedCode<3>("LHR");
        return id;
    }

    // The value is one of the two jittered values (v - v p/100 or v + v p/100), in radians.
    static void expectJittered(double radians, double degrees, double percent) {
        const double low = (degrees - degrees * percent / 100.0) * kDeg;
        const double high = (degrees + degrees * percent / 100.0) * kDeg;
        EXPECT_TRUE(std::abs(radians - low) < 1e-12 || std::abs(radians - high) < 1e-12)
            << radians / kDeg << " is neither " << low / kDeg << " nor " << high / kDeg;
    }
};

TEST_F(AircraftRecordsTest, ProfileTakesTheTablesOfTheModelsCategory) {
    mrw::g_rotorcraftModelSet().insert(mrw::gf_modelIndex("R44"));
    mrw::g_heavyModelSet().insert(mrw::gf_modelIndex("B744"));
    struct Case {
        const char* model;
        AcCategory category;
        std::int32_t flare, touchdown, rotation, climbTicks;
        double rotationPitchDeg, climbPitchDeg, turnDeg;
    };
    const Case cases[] = {
        {"R44", AcCategory::Rotorcraft, 100, 100, 100, 100, -20.0, -30.0, 0.20},
        {"B744", AcCategory::Heavy, 450, 450, 250, 400, -5.0, -12.5, 0.05},
        {"C172", AcCategory::Light, 250, 250, 100, 200, -9.0, -15.0, 0.15},  // in no category section
        {"", AcCategory::Light, 250, 250, 100, 200, -9.0, -15.0, 0.15},      // the empty model
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        const mrw::AcProfile profile = mrw::gf_makeAcProfile(identity(c.model));
        EXPECT_EQ(profile.category, c.category);
        EXPECT_EQ(profile.flareTicks, c.flare);
        EXPECT_EQ(profile.touchdownTicks, c.touchdown);
        EXPECT_EQ(profile.rotationTicks, c.rotation);
        EXPECT_EQ(profile.climbPitchTicks, c.climbTicks);
        expectJittered(profile.rotationPitchRad, c.rotationPitchDeg, 2.5);
        expectJittered(profile.climbPitchRad, c.climbPitchDeg, 5.0);
        EXPECT_DOUBLE_EQ(profile.turnRatePerTick, c.turnDeg * kDeg);
        EXPECT_EQ(profile.callsign, "BAW123");
        EXPECT_EQ(profile.origin, mrw::FixedCode<3>("LHR"));
        EXPECT_EQ(profile.hexid, 0U);
        EXPECT_TRUE(profile.liveryTitle.empty());
    }
}

TEST_F(AircraftRecordsTest, ModelIndexOutsideTheTableIsLight) {
    mrw::AircraftIdentity id;
    id.designation.model = 4000;
    EXPECT_EQ(mrw::gf_makeAcProfile(id).category, AcCategory::Light);
}

TEST_F(AircraftRecordsTest, StaticAcTakesTheProfileOver) {
    mrw::AcProfile profile = mrw::gf_makeAcProfile(identity("A320"));
    profile.hexid = 17;
    const mrw::StaticAc ac(std::move(profile), 12, mrw::Lalo{51.5, -0.4}, 1.5, true);
    EXPECT_EQ(ac.callsign, "BAW123");
    EXPECT_EQ(ac.registration, "G-ABCD");
    EXPECT_EQ(ac.hexid, 17U);
    EXPECT_EQ(ac.standNumber, 12);
    EXPECT_EQ(ac.standPosition, (mrw::Lalo{51.5, -0.4}));
    EXPECT_EQ(ac.standHeadingRad, 1.5);
    EXPECT_TRUE(ac.standCargo);
    EXPECT_EQ(ac.objectId, 0U);
    EXPECT_EQ(ac.parkedSince, mrw::WeekSlot{});
    EXPECT_EQ(ac.simState, mrw::SimState::Buffer);
    EXPECT_EQ(ac.throttleIndex, 5);
    EXPECT_EQ(ac.flapsIndex, 4);
    EXPECT_FALSE(ac.removeWhenCreated || ac.eraseNeverCreated || ac.eraseWithdrawn);
    // The source's texts were moved out.
    EXPECT_TRUE(profile.callsign.empty() && profile.registration.empty());  // NOLINT(bugprone-use-after-move)
}

TEST_F(AircraftRecordsTest, LiveAcStartsAtBirthWithItsFirstSample) {
    mrw::PositionSample sample;
    sample.lat = 52.3;
    sample.lon = 4.76;
    sample.altitudeFt = 3000.0;
    sample.dueTick = 4711;
    const mrw::LiveAc ac(sample, mrw::gf_makeAcProfile(identity("B738")), 1592423555.0);
    ASSERT_EQ(ac.samples.size(), 1U);
    EXPECT_EQ(ac.samples.front().dueTick, 4711);
    EXPECT_EQ(ac.samples.front().lat, 52.3);
    EXPECT_EQ(ac.lastReportTime, 1592423555.0);
    EXPECT_EQ(ac.phase, mrw::FlightPhase::Birth);
    EXPECT_EQ(ac.previousPhase, mrw::FlightPhase::Birth);
    EXPECT_EQ(ac.simState, mrw::SimState::Buffer);
    EXPECT_EQ(ac.standNumber, 0);
    EXPECT_EQ(ac.callsign, "BAW123");
    EXPECT_EQ(ac.earlyLimit, 1000);
    EXPECT_EQ(ac.lateLimit, 1000);
    EXPECT_EQ(ac.rotationCounter, 1);
    EXPECT_EQ(ac.heightAboveGround, 2500.0);
    EXPECT_FALSE(ac.parkedTimeExempt || ac.onGroundInSim || ac.hasFlightPlan || ac.firstSampleSkipped);
}

TEST_F(AircraftRecordsTest, NamesOfPhasesAndStates) {
    EXPECT_EQ(mrw::gf_phaseName(mrw::FlightPhase::PushingBack), "pushing_back");
    EXPECT_EQ(mrw::gf_phaseName(mrw::FlightPhase::TakeOff), "take_off");
    EXPECT_EQ(mrw::gf_phaseName(mrw::FlightPhase::Birth), "birth");
    EXPECT_EQ(mrw::gf_simStateName(mrw::SimState::Buffer), "buffer");
    EXPECT_EQ(mrw::gf_simStateName(mrw::SimState::LiveryRespawn), "liveryrespawn");
    EXPECT_EQ(mrw::gf_simStateName(mrw::SimState::RemovingFromSim), "removingfromsim");
    EXPECT_THROW(mrw::gf_simStateName(static_cast<mrw::SimState>(5)), std::out_of_range);
    EXPECT_THROW(mrw::gf_phaseName(static_cast<mrw::FlightPhase>(8)), std::out_of_range);
    EXPECT_THROW(mrw::gf_phaseName(static_cast<mrw::FlightPhase>(-1)), std::out_of_range);
}

}  // namespace

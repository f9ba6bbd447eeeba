#include "traffic/sim/aircraft_commands.h"

#include <gtest/gtest.h>

#include "config/parameter_catalogue.h"
#include "support/logged_program_folder.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_definitions.h"

namespace mrw {
namespace {

using Events = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // event id, data

class AircraftCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_clientEvents.clear();
        aircraft.objectId = 321;
        aircraft.category = AcCategory::Large;
    }
    void TearDown() override {
        g_clientEvents.clear();
        g_parameters().RANDOM.current = true;
        g_parameters().NAV_LIGHTS_WHILE_PARKED.current = true;
    }
    // The queued events (all for the aircraft), taken out of the queue.
    Events taken() {
        Events events;
        for (const ClientEventRequest& e : g_clientEvents) {
            EXPECT_EQ(e.objectId, 321u);
            events.emplace_back(e.eventId, e.data);
        }
        g_clientEvents.clear();
        return events;
    }

    mrwtest::LoggedProgramFolder folder;
    StaticAc aircraft;
};

TEST_F(AircraftCommandsTest, CommandsByObjectIdAppendTheirEventsInOrder) {
    gf_startEngines(321);
    gf_shutDownEngines(321);
    gf_setLights(321, LightSet{1, 0, 1, 0, 1, 0, 1});
    gf_setNavLights(321, 0);
    gf_setCabinLights(321, 1);
    EXPECT_EQ(taken(), (Events{{ENGINE_AUTO_START, 0},
                               {ENGINE_AUTO_SHUTDOWN, 0},
                               {NAV_LIGHTS_SET, 1},
                               {BEACON_LIGHTS_SET, 0},
                               {LANDING_LIGHTS_SET, 1},
                               {TAXI_LIGHTS_SET, 0},
                               {STROBES_SET, 1},
                               {LOGO_LIGHTS_SET, 0},
                               {CABIN_LIGHTS_SET, 1},
                               {NAV_LIGHTS_SET, 0},
                               {CABIN_LIGHTS_SET, 1}}));
}

TEST_F(AircraftCommandsTest, FlapsAreSentOnlyWhenTheIndexChanges) {
    gf_setFlaps(aircraft, 4);  // a fresh record stands at 4
    EXPECT_TRUE(taken().empty());
    struct Step {
        std::int32_t index;
        Events sent;
    };
    for (const Step& step :
         {Step{1, {{FLAPS_SET, 3072}}}, Step{2, {{FLAPS_SET, 10240}}}, Step{2, {}},
          Step{3, {{FLAPS_SET, 16383}}}, Step{4, {{FLAPS_SET, 0}}}, Step{0, {{FLAPS_SET, 0}}}}) {
        gf_setFlaps(aircraft, step.index);
        EXPECT_EQ(taken(), step.sent) << step.index;
        EXPECT_EQ(aircraft.flapsIndex, step.index);
    }
}

TEST_F(AircraftCommandsTest, AnInvalidFlapsIndexIsLoggedStoredAndNotSent) {
    for (const std::int32_t index : {5, -1}) {
        gf_setFlaps(aircraft, index);
        EXPECT_TRUE(taken().empty());
        EXPECT_EQ(aircraft.flapsIndex, index);
    }
    const std::string log = folder.logText();
    const std::size_t first = log.find("==> gf_setFlaps: invalid flaps index");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(log.find("==> gf_setFlaps: invalid flaps index", first + 1), std::string::npos);
}

TEST_F(AircraftCommandsTest, ThrottleIsSentForIndexesZeroToFourWhenChanged) {
    struct Step {
        std::int32_t index;
        Events sent;
    };
    for (const Step& step :
         {Step{0, {{THROTTLE_SET, 0}}}, Step{1, {{THROTTLE_SET, 4914}}}, Step{2, {{THROTTLE_SET, 8191}}},
          Step{3, {{THROTTLE_SET, 11468}}}, Step{3, {}}, Step{5, {}}, Step{3, {{THROTTLE_SET, 11468}}},
          Step{4, {{THROTTLE_SET, 16383}}}, Step{-2, {}}}) {
        aircraft.setThrottle(step.index);
        EXPECT_EQ(taken(), step.sent) << step.index;
        EXPECT_EQ(aircraft.throttleIndex, step.index);
    }
}

TEST_F(AircraftCommandsTest, SpoilersAndGearAreSentOnEveryCall) {
    aircraft.setSpoilers(true);
    aircraft.setSpoilers(true);
    aircraft.setSpoilers(false);
    aircraft.setGear(false);
    aircraft.setGear(true);
    EXPECT_EQ(
        taken(),
        (Events{
            {SPOILERS_SET, 16383}, {SPOILERS_SET, 16383}, {SPOILERS_SET, 0}, {GEAR_SET, 0}, {GEAR_SET, 1}}));
}

TEST_F(AircraftCommandsTest, ARotorcraftGetsThrottleButNoFlapsGearOrSpoilers) {
    aircraft.category = AcCategory::Rotorcraft;
    gf_setFlaps(aircraft, 1);
    aircraft.setGear(true);
    aircraft.setSpoilers(true);
    aircraft.setThrottle(2);
    EXPECT_EQ(taken(), (Events{{THROTTLE_SET, 8191}}));
    EXPECT_EQ(aircraft.flapsIndex, 4);
}

TEST_F(AircraftCommandsTest, SetUpParkedSendsThrottleFlapsEnginesAndParkedLights) {
    g_parameters().RANDOM.current = false;
    g_parameters().NAV_LIGHTS_WHILE_PARKED.current = false;
    aircraft.setUpParked();
    EXPECT_EQ(taken(), (Events{{THROTTLE_SET, 0},
                               {FLAPS_SET, 0},
                               {ENGINE_AUTO_SHUTDOWN, 0},
                               {NAV_LIGHTS_SET, 0},
                               {BEACON_LIGHTS_SET, 0},
                               {LANDING_LIGHTS_SET, 0},
                               {TAXI_LIGHTS_SET, 0},
                               {STROBES_SET, 0},
                               {LOGO_LIGHTS_SET, 1},
                               {CABIN_LIGHTS_SET, 1}}));
    // Already at throttle 0 and flaps 0: only the engines and lights again.
    g_parameters().NAV_LIGHTS_WHILE_PARKED.current = true;
    aircraft.setUpParked();
    const Events again = taken();
    ASSERT_EQ(again.size(), 8u);
    EXPECT_EQ(again[0], (std::pair<std::uint32_t, std::uint32_t>{ENGINE_AUTO_SHUTDOWN, 0}));
    EXPECT_EQ(again[1], (std::pair<std::uint32_t, std::uint32_t>{NAV_LIGHTS_SET, 1}));
}

TEST_F(AircraftCommandsTest, CabinLightsStayOffAtCargoStandsWhateverRandomSays) {
    aircraft.standCargo = true;
    for (const bool random : {false, true}) {
        g_parameters().RANDOM.current = random;
        for (int i = 0; i < 30; ++i) {
            aircraft.setUpParked();
            const Events events = taken();
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(events.back(), (std::pair<std::uint32_t, std::uint32_t>{CABIN_LIGHTS_SET, 0}));
        }
    }
}

TEST_F(AircraftCommandsTest, WithRandomOnMostCabinsAreLit) {
    g_parameters().RANDOM.current = true;
    int lit = 0;
    constexpr int kParkings = 4000;
    for (int i = 0; i < kParkings; ++i) {
        aircraft.setUpParked();
        lit += taken().back().second == 1 ? 1 : 0;
    }
    // Nine in ten: 3600 on average with a standard deviation of 19; eight in ten (3200) or all lie
    // more than ten deviations away.
    EXPECT_GT(lit, 3400);
    EXPECT_LT(lit, 3800);
}

}  // namespace
}  // namespace mrw

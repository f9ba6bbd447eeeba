// The window's MAX_LIVE_SEL and NAV_LIGHTS_WHILE_PARKED handlers file requests; the main worker's
// beat serves them to the engine's aircraft.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <vector>

#include "app/check_box_handlers.h"
#include "app/combo_box_handlers.h"
#include "config/parameter_catalogue.h"
#include "main_window_fixture.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "run/main_loop_internal.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/sim_queues.h"
#include "traffic/model/user_aircraft_data.h"
#include "traffic/sim/sim_definitions.h"

using namespace mrw;

namespace {

class WindowRequests : public mrwtest::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        clearAircraft();
        g_userAcData = {};
        g_userAcData.latitude = 52.0;
        g_userAcData.longitude = 4.0;
        // No collision rule may remove the test's aircraft on the beat (settings return to their
        // defaults after each test).
        ParameterCatalogue& p = g_parameters();
        p.COLLISION_USER_AIR.current = false;
        p.COLLISION_USER_GND.current = false;
        p.COLLISION_LIVE_PARKED_GND.current = false;
    }
    void TearDown() override {
        clearAircraft();
        g_userAcData = {};
        MainWindowTest::TearDown();
    }

    static void clearAircraft() {
        g_engineContainers.renew();
        clearClientEvents();
    }
    static void clearClientEvents() {
        std::lock_guard lock(g_simConnectMutex);
        g_clientEvents.clear();
    }

    // Active live aircraft 1 to n nm north of the user (object ids 1001 onwards, farther with each).
    static void addActiveLive(int n) {
        for (int i = 1; i <= n; ++i) {
            LiveAc ac;
            ac.callsign = "LIVE" + std::to_string(i);
            ac.objectId = static_cast<std::uint32_t>(1000 + i);
            ac.simState = SimState::Active;
            ac.phase = FlightPhase::Flying;
            ac.simPosition.lat = 52.0 + i / 60.0;
            ac.simPosition.lon = 4.0;
            g_liveAcs.push_back(ac);
        }
    }

    static std::vector<std::uint32_t> activeLiveIds() {
        std::vector<std::uint32_t> ids;
        for (const LiveAc& ac : g_liveAcs)
            if (ac.simState == SimState::Active) ids.push_back(ac.objectId);
        return ids;
    }

    // The objects that got NAV_LIGHTS_SET with the value.
    static std::vector<std::uint32_t> navLightObjects(std::uint32_t value) {
        std::vector<std::uint32_t> ids;
        std::lock_guard lock(g_simConnectMutex);
        for (const ClientEventRequest& e : g_clientEvents)
            if (e.eventId == NAV_LIGHTS_SET && e.data == value) ids.push_back(e.objectId);
        std::sort(ids.begin(), ids.end());
        return ids;
    }
};

TEST_F(WindowRequests, LoweringMaxLiveSelRemovesTheFarthestOnTheNextBeat) {
    IntComboParameter& maxLive = g_parameters().MAX_LIVE_SEL;
    maxLive.fillCombo();
    addActiveLive(12);
    const auto ten = std::find(maxLive.choices.begin(), maxLive.choices.end(), 10) - maxLive.choices.begin();
    ASSERT_TRUE(standin::selectComboItem(maxLive.hwnd, static_cast<int>(ten)));
    ASSERT_TRUE(lf_onComboChange(window(), MAKEWPARAM(maxLive.controlId, CBN_SELCHANGE)));
    EXPECT_EQ(maxLive.current.load(), 10);
    // The UI thread only filed the request: the main worker's aircraft are untouched until its beat.
    EXPECT_EQ(activeLiveIds().size(), 12u);
    lf_everySecond();
    EXPECT_EQ(activeLiveIds(),
              (std::vector<std::uint32_t>{1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010}));
    lf_everySecond();  // served once
    EXPECT_EQ(activeLiveIds().size(), 10u);
}

TEST_F(WindowRequests, NavLightsWhileParkedReachParkedAircraftOnTheNextBeat) {
    CheckBoxParameter& navLights = g_parameters().NAV_LIGHTS_WHILE_PARKED;
    navLights.current = false;
    navLights.showCheck();
    addActiveLive(2);
    g_liveAcs[0].phase = FlightPhase::Parked;  // 1001 parked, 1002 flying
    StaticAc parked;
    parked.objectId = 2001;
    parked.simState = SimState::Active;
    g_staticAcs.push_back(parked);
    StaticAc adding;
    adding.objectId = 2002;
    adding.simState = SimState::Adding2Sim;
    g_staticAcs.push_back(adding);

    ASSERT_TRUE(lf_onCheckBox(window(), navLights.controlId));  // switched on
    ASSERT_TRUE(navLights.current.load());
    EXPECT_TRUE(navLightObjects(1).empty());
    lf_everySecond();
    EXPECT_EQ(navLightObjects(1), (std::vector<std::uint32_t>{1001, 2001}));
    clearClientEvents();
    ASSERT_TRUE(lf_onCheckBox(window(), navLights.controlId));  // and off again
    ASSERT_FALSE(navLights.current.load());
    lf_everySecond();
    EXPECT_EQ(navLightObjects(0), (std::vector<std::uint32_t>{1001, 2001}));
    EXPECT_TRUE(navLightObjects(1).empty());
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "foundation/window_model.h"
#include "traffic/model/aircraft_records.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/selected_aircraft.h"

namespace {

using mrwtest::MainWindowTest;

// The engine's choice of aircraft for CALLSIGN_2_OBJECTID and the Block button, as the window's
// controls show it.
class SelectableAircraftTest : public MainWindowTest {
  protected:
    void TearDown() override {
        mrw::g_liveAcs.clear();
        mrw::g_selectedObjectId = 0;
        MainWindowTest::TearDown();
    }
    static void addLive(const std::string& callsign, mrw::SimState state, mrw::FlightPhase phase) {
        mrw::LiveAc aircraft;
        aircraft.hexid = static_cast<std::uint32_t>(mrw::g_liveAcs.size() + 1);
        aircraft.callsign = callsign;
        aircraft.simState = state;
        aircraft.phase = phase;
        mrw::g_liveAcs.push_back(std::move(aircraft));
    }
    static bool enabled(const mrw::ControlBinding& control) { return IsWindowEnabled(control.hwnd) != FALSE; }
};

// Only active aircraft that are not parked can be chosen, sorted by callsign, the first one chosen;
// Block follows, unless Unblock is enabled (an aircraft is blocked already).
TEST_F(SelectableAircraftTest, ActiveUnparkedAircraftAreOfferedAndBlockFollowsUnblock) {
    auto& p = mrw::g_parameters();
    struct Case {
        const char* name;
        bool withAircraft;
        bool unblockEnabled;
        bool any;
        std::string chosen;
        bool blockEnabled;
    };
    const Case cases[] = {
        {"none selectable", false, false, false, "", false},
        {"selectable, Unblock off", true, false, true, "DAL1", true},
        {"selectable, Unblock on", true, true, true, "DAL1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mrw::g_liveAcs.clear();
        addLive("PARKED9", mrw::SimState::Active, mrw::FlightPhase::Parked);
        addLive("BUFFER0", mrw::SimState::Buffer, mrw::FlightPhase::Taxi);
        if (c.withAircraft) {
            addLive("KLM2", mrw::SimState::Active, mrw::FlightPhase::Taxi);
            addLive("DAL1", mrw::SimState::Active, mrw::FlightPhase::Birth);
        }
        EnableWindow(p.unblockButton.hwnd, c.unblockEnabled ? TRUE : FALSE);
        EnableWindow(p.blockButton.hwnd, c.blockEnabled ? FALSE : TRUE);

        EXPECT_EQ(mrw::lf_refreshSelectableAcs(), c.any);
        EXPECT_EQ(p.CALLSIGN_2_OBJECTID.current.get(), c.chosen);
        const std::vector<std::string> offered =
            c.any ? std::vector<std::string>{"DAL1", "KLM2"} : std::vector<std::string>{};
        EXPECT_EQ(mrw::g_callsignChoices().copy(), offered);
        EXPECT_EQ(SendMessageW(p.CALLSIGN_2_OBJECTID.hwnd, CB_GETCOUNT, 0, 0), c.any ? 2 : 0);
        EXPECT_EQ(enabled(p.CALLSIGN_2_OBJECTID), c.any);
        EXPECT_EQ(enabled(p.blockButton), c.blockEnabled);
    }
}

TEST_F(SelectableAircraftTest, ClearingTheChoiceDisablesTheComboBoxAndBlock) {
    auto& p = mrw::g_parameters();
    addLive("KLM2", mrw::SimState::Active, mrw::FlightPhase::Taxi);
    ASSERT_TRUE(mrw::lf_refreshSelectableAcs());
    mrw::g_selectedObjectId = 42;
    mrw::g_mainWindow().callsignObjectIdText.set("KLM2 = 42");

    mrw::gf_clearSelectedAc();
    EXPECT_EQ(mrw::g_selectedObjectId.load(), 0u);
    EXPECT_EQ(mrw::g_mainWindow().callsignObjectIdText.get(), "");
    EXPECT_EQ(p.CALLSIGN_2_OBJECTID.current.get(), "");
    EXPECT_EQ(mrw::g_callsignChoices().copy(), std::vector<std::string>(1));
    EXPECT_FALSE(enabled(p.CALLSIGN_2_OBJECTID));
    EXPECT_FALSE(enabled(p.blockButton));
}

}  // namespace

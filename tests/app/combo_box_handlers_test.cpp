#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/file_system.h"
#include "foundation/text_encoding.h"
#include "run/run_end.h"
#include "traffic/model/main_loop_state.h"

namespace {

using mrwtest::MainWindowTest;
using mrwtest::messageLine;

class ComboBoxHandlersTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        auto& p = mrw::g_parameters();
        for (mrw::IntComboParameter* combo :
             {&p.MATCHING_DEPTH, &p.RANGE, &p.AR_ABOVE_HEIGHT, &p.MAX_PARK_SEL, &p.MAX_LIVE_SEL,
              &p.AIRP_RANGE, &p.AIRP_HEIGHT, &p.parking_percentage})
            combo->fillCombo();
        p.SIM_CHOICE.fillCombo();
        p.AI_PACKAGE_SELECTOR.fillCombo();
        p.CALLSIGN_2_OBJECTID.fillCombo();
        for (const float hours : p.MAX_FIT_FL.choices) {
            const std::u16string text = mrw::utf8_to_wide(fmt::format("{:.1f}", hours));
            SendMessageW(p.MAX_FIT_FL.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    void TearDown() override {
        mrw::g_stopRequested = false;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        MainWindowTest::TearDown();
    }
    static int indexOf(const std::vector<std::int32_t>& choices, std::int32_t value) {
        return static_cast<int>(std::find(choices.begin(), choices.end(), value) - choices.begin());
    }
    void choose(const mrw::ControlBinding& combo, int index) {
        ASSERT_TRUE(standin::selectComboItem(combo.hwnd, index));
    }
    static LRESULT selected(const mrw::ControlBinding& combo) {
        return SendMessageW(combo.hwnd, CB_GETCURSEL, 0, 0);
    }
};

TEST_F(ComboBoxHandlersTest, AutoRangeOffAfterAnAutomaticRangeGivesTheSavedRange) {
    auto& p = mrw::g_parameters();
    p.AUTO_RANGE.current = false;
    mrw::gf_applyAutoRange();
    choose(p.RANGE, indexOf(p.RANGE.choices, 25));
    EXPECT_EQ(mrwtest::savedInt("RANGE"), 25);
    EXPECT_EQ(mrw::g_rangeNm.load(), 25.0);

    // The run start applies the automatic range directly; the switch then goes off.
    p.AUTO_RANGE.current = true;
    mrw::gf_setAutoRangeInputs({true, std::nullopt, std::nullopt, std::nullopt});
    mrw::lf_autoRange();
    EXPECT_EQ(p.RANGE.current, 10);
    EXPECT_EQ(mrwtest::savedInt("RANGE"), 25) << "an automatic range is never saved";
    ASSERT_TRUE(standin::click(p.AUTO_RANGE.hwnd));
    EXPECT_FALSE(p.AUTO_RANGE.current);
    EXPECT_EQ(p.RANGE.current, 25);
    EXPECT_EQ(selected(p.RANGE), indexOf(p.RANGE.choices, 25));
    EXPECT_EQ(mrw::g_rangeMeters.load(), 25u * 1852u);
}

TEST_F(ComboBoxHandlersTest, MaxFitInHoursIsStoredAsHalfHours) {
    auto& p = mrw::g_parameters();
    choose(p.MAX_FIT_FL, 15);  // 12 hours
    EXPECT_EQ(p.MAX_FIT_FL.current, 12.0f);
    EXPECT_EQ(p.MAX_FIT.current, 23);
    EXPECT_EQ(mrwtest::savedInt("MAX_FIT"), 23);
    choose(p.MAX_FIT_FL, 0);  // half an hour
    EXPECT_EQ(p.MAX_FIT.current, 0);
    p.MAX_FIT.current = 23;
    mrw::gf_selectMaxFit();
    EXPECT_EQ(selected(p.MAX_FIT_FL), 15);
}

TEST_F(ComboBoxHandlersTest, TheCurrentEntryAgainChangesAndSavesNothing) {
    auto& p = mrw::g_parameters();
    std::filesystem::remove(mrw::g_parametersFile());
    choose(p.SIM_CHOICE, 0);  // "MSFS 2020", the current value
    choose(p.AI_PACKAGE_SELECTOR, 0);
    choose(p.CALLSIGN_2_OBJECTID, 0);  // the empty text
    EXPECT_FALSE(std::filesystem::exists(mrw::g_parametersFile()));
    EXPECT_FALSE(mrw::g_stopRequested) << "no simulator switch";
    EXPECT_FALSE(mrw::g_csToOidLookup);
}

TEST_F(ComboBoxHandlersTest, AnotherSimulatorIsSavedAndRestartsTheRun) {
    auto& p = mrw::g_parameters();
    choose(p.SIM_CHOICE, 1);
    EXPECT_EQ(mrwtest::savedText("SIM_CHOICE"), "MSFS 2024");
    EXPECT_EQ(selected(p.SIM_CHOICE), 1);
    EXPECT_EQ(mrw::g_exitReason, mrw::ExitReason::NewSettings);
    EXPECT_EQ(mrw::g_restartDelay, 3);
}

TEST_F(ComboBoxHandlersTest, APackageChoiceIsSavedWithANote) {
    auto& p = mrw::g_parameters();
    choose(p.AI_PACKAGE_SELECTOR, 5);
    EXPECT_EQ(mrwtest::savedText("AI_PACKAGE_SELECTOR"), mrw::g_aiPackageOrderings()[5]);
    EXPECT_EQ(messageLine(), "If you want to make this choice effective, you must start a Scan for liveries");
    EXPECT_NE(folder->logText().find("start a Scan for liveries\n"), std::string::npos);
}

TEST_F(ComboBoxHandlersTest, ALongCallsignIsReadWholeAndLookedUp) {
    auto& p = mrw::g_parameters();
    const std::string callsign(300, 'K');
    mrw::g_callsignChoices().replace({"", "DAL45", callsign});
    p.CALLSIGN_2_OBJECTID.fillCombo();
    mrw::g_mainWindow().callsignObjectIdText.set("= 301");
    choose(p.CALLSIGN_2_OBJECTID, 2);
    EXPECT_EQ(p.CALLSIGN_2_OBJECTID.current.get(), callsign);
    EXPECT_TRUE(mrw::g_csToOidLookup);
    EXPECT_EQ(mrw::g_mainWindow().callsignObjectIdText.get(), "");
    EXPECT_TRUE(IsWindowEnabled(p.blockButton.hwnd)) << "Unblock is disabled";
    EXPECT_FALSE(mrwtest::savedText("CALLSIGN_2_OBJECTID")) << "never saved";

    EnableWindow(p.unblockButton.hwnd, TRUE);
    choose(p.CALLSIGN_2_OBJECTID, 1);
    EXPECT_EQ(p.CALLSIGN_2_OBJECTID.current.get(), "DAL45");
    EXPECT_FALSE(IsWindowEnabled(p.blockButton.hwnd)) << "Unblock is enabled";
}

TEST_F(ComboBoxHandlersTest, IntChoicesAreSavedAndApplied) {
    auto& p = mrw::g_parameters();
    p.MATCHING_DEPTH.current = 2;
    choose(p.MATCHING_DEPTH, 3);  // 4: raised
    EXPECT_EQ(mrwtest::savedInt("MATCHING_DEPTH"), 4);
    EXPECT_TRUE(mrw::g_noMatchClearRequest.exchange(false));
    choose(p.MATCHING_DEPTH, 0);  // 1: lowered
    EXPECT_FALSE(mrw::g_noMatchClearRequest);

    choose(p.AIRP_HEIGHT, indexOf(p.AIRP_HEIGHT.choices, 6000));
    EXPECT_EQ(mrwtest::savedInt("AIRP_HEIGHT"), 6000);
    choose(p.parking_percentage, indexOf(p.parking_percentage.choices, 55));
    EXPECT_EQ(mrwtest::savedInt("parking_percentage"), 55);
}

TEST_F(ComboBoxHandlersTest, OtherNotificationsAndUnreadableChoicesAreNotHandled) {
    auto& p = mrw::g_parameters();
    // A notification other than a selection change.
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(p.RANGE.controlId, 9),
                 reinterpret_cast<LPARAM>(p.RANGE.hwnd));
    EXPECT_FALSE(mrwtest::savedInt("RANGE"));
    // A selection change without a selection.
    SendMessageW(p.RANGE.hwnd, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(window(), WM_COMMAND, MAKEWPARAM(p.RANGE.controlId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(p.RANGE.hwnd));
    EXPECT_FALSE(mrwtest::savedInt("RANGE"));
    // An entry beyond the setting's choices.
    SendMessageW(p.RANGE.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"999"));
    choose(p.RANGE, static_cast<int>(p.RANGE.choices.size()));
    EXPECT_FALSE(mrwtest::savedInt("RANGE"));
    // A text that is no valid UTF-16: the dispatcher logs it and goes on.
    const char16_t broken[] = {u'D', 0xD800, u'L', 0};
    SendMessageW(p.CALLSIGN_2_OBJECTID.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(broken));
    choose(p.CALLSIGN_2_OBJECTID, 1);
    EXPECT_NE(folder->logText().find("==> lf_HandleWMCOMMAND exception "), std::string::npos);
    EXPECT_EQ(p.CALLSIGN_2_OBJECTID.current.get(), "");
}

}  // namespace

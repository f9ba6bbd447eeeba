// What the settings ask of their controls, seen through a recorded control surface: the combo fills
// and selections, check marks, enabling, and that nothing is asked before a control or a surface
// exists.
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "foundation/text_encoding.h"
#include "support/config_test_support.h"
#include "support/recording_control_surface.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace mrw {
namespace {

using Texts = std::vector<std::u16string>;

class ControlParameters : public mrwtest::ConfigTest {
  protected:
    // Settings of a test's own; they outlive the surface, which unbinds them at its end.
    std::deque<StringComboParameter> combos;
    mrwtest::RecordingControlSurface controls;
};

TEST_F(ControlParameters, IntComboFillSelectsTheEqualChoiceOrNone) {
    IntComboParameter& range = g_parameters().RANGE;
    auto& combo = controls.bind(range);
    range.fillCombo();
    ASSERT_EQ(combo.texts.size(), 20u);
    EXPECT_EQ(combo.texts.front(), u"2");
    EXPECT_EQ(combo.texts[3], u"5");
    EXPECT_EQ(combo.texts.back(), u"100");
    EXPECT_EQ(controls.selectedText(range), "40");

    range.current = 7;  // inside the limits but no choice: the list is refilled and nothing selected
    range.fillCombo();
    EXPECT_EQ(combo.fills, 2);
    EXPECT_EQ(combo.texts.size(), 20u);
    EXPECT_EQ(combo.selection, std::nullopt);

    // gf_selectChoice selects only an equal choice: 5 is not "50".
    gf_selectChoice(range, 5);
    EXPECT_EQ(controls.selectedText(range), "5");
    gf_selectChoice(range, 7);
    EXPECT_EQ(controls.selectedText(range), "5") << "a value that is no choice changes nothing";
}

TEST_F(ControlParameters, StringCombosSelectTheFirstCaseBlindPrefix) {
    struct Case {
        const char* current;
        std::vector<std::string> choices;
        std::optional<std::size_t> selected;
        std::optional<std::size_t> exact;
    };
    const Case cases[] = {
        {"AIG",
         {"AIG, FSLTL", "AIG"},
         0,
         1},  // a longer choice first: the prefix wins, the exact one is known
        {"msfs 2024", {"MSFS 2020", "MSFS 2024"}, 1, std::nullopt},  // case-blind
        {"KLM1", {"BAW12", "KLM1", "KLM123"}, 1, 1},
        {"DLH", {"BAW12", "KLM1"}, std::nullopt, std::nullopt},
        {"", {}, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.current);
        StringComboParameter& combo = combos.emplace_back("TEST_COMBO", c.current, c.choices, 0x9000, 0);
        auto& control = controls.bind(combo);
        combo.fillCombo();
        Texts expected;
        for (const std::string& choice : c.choices)
            expected.push_back(utf8_to_wide(choice));
        EXPECT_EQ(control.texts, expected);
        EXPECT_EQ(control.selection, c.selected);
        EXPECT_EQ(combo.indexOfCurrent(), c.exact);

        g_callsignChoices().replace(c.choices);
        SharedComboParameter& shared = g_parameters().CALLSIGN_2_OBJECTID;
        auto& sharedControl = controls.bind(shared);
        shared.current.set(c.current);
        shared.fillCombo();
        EXPECT_EQ(sharedControl.texts, expected) << "the shared list at the moment of the fill";
        EXPECT_EQ(sharedControl.selection, c.selected);
    }
}

TEST_F(ControlParameters, TextsThatAreNotUtf8AreLoggedAndLeftOut) {
    StringComboParameter& combo = combos.emplace_back(
        "TEST_COMBO", "bad \xff", std::vector<std::string>{"A", "bad \xfe", "B"}, 0x9000, 0);
    auto& control = controls.bind(combo);
    combo.fillCombo();
    EXPECT_EQ(control.texts, (Texts{u"A", u"B"}));
    EXPECT_EQ(control.selection, std::nullopt);
    EXPECT_NE(log().find("utf8_to_wide failed for 'bad \xfe': "), std::string::npos);
    EXPECT_NE(log().find("utf8_to_wide failed for 'bad \xff': "), std::string::npos);
}

TEST_F(ControlParameters, CheckBoxesShowTheirValueAndControlsAreEnabledAndDisabled) {
    CheckBoxParameter& box = g_parameters().OBJECTID_LIST;
    auto& check = controls.bind(box);
    for (const bool value : {true, false, true}) {
        box.current = value;
        box.showCheck();
        EXPECT_EQ(check.checked, value);
    }

    PushButton& button = g_parameters().nowButton;
    auto& control = controls.bind(button);
    gf_enableControl(button, false);
    EXPECT_FALSE(control.enabled);
    EXPECT_FALSE(gf_controlEnabled(button));
    EXPECT_TRUE(button.enable()) << "it was disabled before";
    EXPECT_TRUE(control.enabled);
    EXPECT_TRUE(gf_controlEnabled(button));
    EXPECT_FALSE(button.enable()) << "it was enabled already";
    gf_enableControl(button, false);
    gf_enableControl(button, true);
    EXPECT_TRUE(control.enabled);
}

// Before the window creates a control (null handle), and where no window registered a surface,
// every change is skipped and every question answers false.
TEST_F(ControlParameters, NothingIsAskedBeforeAControlOrASurfaceExists) {
    IntComboParameter& range = g_parameters().RANGE;
    CheckBoxParameter& box = g_parameters().OBJECTID_LIST;
    auto& combo = controls.bind(range);
    auto& check = controls.bind(box);
    range.hwnd = nullptr;
    box.hwnd = nullptr;
    range.fillCombo();
    gf_selectChoice(range, 40);
    gf_enableControl(range, false);
    box.current = true;
    box.showCheck();
    EXPECT_EQ(combo.fills, 0);
    EXPECT_EQ(combo.selection, std::nullopt);
    EXPECT_TRUE(combo.enabled);
    EXPECT_FALSE(check.checked);
    EXPECT_FALSE(range.enable());
    EXPECT_FALSE(gf_controlEnabled(range));
    EXPECT_EQ(controls.strayCalls(), 0) << "a control not yet created is not asked for";

    ControlSurface* registered = gf_controlSurface();
    auto& bound = controls.bind(range);
    gf_setControlSurface(nullptr);
    range.fillCombo();
    g_parameters().SIM_CHOICE.fillCombo();
    g_parameters().CALLSIGN_2_OBJECTID.fillCombo();
    gf_enableControl(range, false);
    const bool enabledWithout = range.enable();
    const bool askedWithout = gf_controlEnabled(range);
    gf_setControlSurface(registered);
    EXPECT_EQ(bound.fills, 0);
    EXPECT_TRUE(bound.enabled);
    EXPECT_FALSE(enabledWithout);
    EXPECT_FALSE(askedWithout);
}

}  // namespace
}  // namespace mrw

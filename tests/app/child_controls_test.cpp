#include <gtest/gtest.h>

#include <string>

#include "app/child_controls.h"
#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "traffic/parking/parking_controls.h"

namespace {

using mrwtest::MainWindowTest;

enum class Kind { Combo, Edit, CheckBox, Button };

struct Expected {
    const char* name;
    Kind kind;
    int id;
    int x;
    int y;       // the control's top in the client area
    int width;   // kToTheRightEdge: up to 5 px before the client area's right edge
    int height;  // a combo box's drop-down height (its own height is the system's)
};

constexpr int kToTheRightEdge = -1;

// The panel as a user sees it after start-up, in creation order.
const Expected kControls[] = {
    {"SIM_CHOICE", Kind::Combo, 0x8015, 5, 114, 105, 80},
    {"ALL_INSTALL_PATH", Kind::Edit, 0x8014, 111, 119, kToTheRightEdge, 16},
    {"SCAN_LIVERIES", Kind::CheckBox, 0x801E, 5, 149, 12, 12},
    {"LIG_AUTOMATIC", Kind::CheckBox, 0x801F, 217, 149, 12, 12},
    {"AI_PACKAGE_SELECTOR", Kind::Combo, 0x8016, 323, 142, 175, 300},
    {"LIG_PRIORITIZE", Kind::CheckBox, 0x8020, 536, 149, 12, 12},
    {"ALWAYS_ON_TOP", Kind::CheckBox, 0x8003, 748, 149, 12, 12},
    {"SCAN_AIRPORTS", Kind::CheckBox, 0x8022, 5, 177, 12, 12},
    {"tblo.zip", Kind::Button, 0x8024, 217, 175, 80, 20},
    {"OBJECTID_LIST", Kind::CheckBox, 0x8007, 652, 177, 12, 12},
    {"NAV_LIGHTS_WHILE_PARKED", Kind::CheckBox, 0x8006, 748, 177, 12, 12},
    {"MATCHING_DEPTH", Kind::Combo, 0x8028, 217, 198, 40, 120},
    {"LIGHT_AIRCRAFT", Kind::CheckBox, 0x8029, 323, 205, 12, 12},
    {"HELICOPTERS", Kind::CheckBox, 0x802A, 430, 205, 12, 12},
    {"HIGH_PERF_AIRCRAFT", Kind::CheckBox, 0x802B, 536, 205, 12, 12},
    {"AEROWINX", Kind::CheckBox, 0x8008, 652, 205, 12, 12},
    {"GUID_CHANGES", Kind::CheckBox, 0x8005, 748, 205, 12, 12},
    {"RANGE", Kind::Combo, 0x8032, 217, 226, 50, 200},
    {"AUTO_RANGE", Kind::CheckBox, 0x8033, 323, 233, 12, 12},
    {"AR_ABOVE_HEIGHT", Kind::Combo, 0x8034, 455, 226, 70, 230},
    {"AIRBORNE_ONLY", Kind::CheckBox, 0x8035, 572, 233, 12, 12},
    {"COLLISION_USER_GND", Kind::CheckBox, 0x8042, 217, 289, 12, 12},
    {"COLLISION_USER_AIR", Kind::CheckBox, 0x8041, 323, 289, 12, 12},
    {"COLLISION_LIVE_PARKED_GND", Kind::CheckBox, 0x8043, 430, 289, 12, 12},
    {"BLOCK_CALLSIGN", Kind::Edit, 0x803C, 107, 259, 100, 16},
    {"Unblock", Kind::Button, 0x803D, 223, 257, 60, 20},
    {"cs->oid:", Kind::Button, 0x803E, 305, 257, 60, 20},
    {"CALLSIGN_2_OBJECTID", Kind::Combo, 0x803F, 375, 254, 100, 300},
    {"Block", Kind::Button, 0x8040, 576, 257, 60, 20},
    {"Now", Kind::Button, 0x804F, 111, 313, 45, 20},
    {"MAX_PARK_SEL", Kind::Combo, 0x8050, 323, 310, 55, 144},
    {"MAX_LIVE_SEL", Kind::Combo, 0x8051, 536, 310, 55, 144},
    {"DESTINATION", Kind::Edit, 0x8047, 217, 343, 50, 16},
    {"AIRP_RANGE", Kind::Combo, 0x8048, 353, 338, 45, 144},
    {"AIRP_HEIGHT", Kind::Combo, 0x8049, 566, 338, 70, 230},
    {"STRAIGHT_PBS_ONLY", Kind::CheckBox, 0x8057, 652, 317, 12, 12},
    {"INITIAL_LOAD_ONLY", Kind::CheckBox, 0x8053, 5, 373, 12, 12},
    {"WEEK", Kind::CheckBox, 0x8055, 71, 373, 12, 12},
    {"PARK_SOFT", Kind::CheckBox, 0x8054, 151, 373, 12, 12},
    {"parking_percentage", Kind::Combo, 0x8052, 323, 366, 50, 200},
    {"MAX_FIT_FL", Kind::Combo, 0x8056, 566, 366, 60, 300},
    {"Re-read", Kind::Button, 0x8046, 758, 341, 90, 20},
    {"Flush static", Kind::Button, 0x8059, 758, 369, 90, 20},
};

// Bits a real control takes out of the style it was created with, as it draws that part itself: a
// drop-down list's scroll bar belongs to its list, an edit field draws its own border.
DWORD takenByTheControl(Kind kind) {
    switch (kind) {
        case Kind::Combo:
            return WS_VSCROLL;
        case Kind::Edit:
            return WS_BORDER;
        case Kind::CheckBox:
        case Kind::Button:
            break;
    }
    return 0;
}

// The top-left corner of the window's client area on the screen: a frame is as wide on the left
// as on the right and at the bottom; what is left above is the title bar.
POINT clientOrigin(HWND hwnd) {
    RECT frame{};
    RECT client{};
    GetWindowRect(hwnd, &frame);
    GetClientRect(hwnd, &client);
    const LONG border = (frame.right - frame.left - client.right) / 2;
    return POINT{frame.left + border, frame.bottom - border - client.bottom};
}

DWORD styleOf(Kind kind) {
    switch (kind) {
        case Kind::Combo:
            return WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
        case Kind::Edit:
            return WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
        case Kind::CheckBox:
            return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX;
        case Kind::Button:
            return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    }
    return 0;
}

class ChildControlsTest : public MainWindowTest {};

TEST_F(ChildControlsTest, TheFortyThreeControlsStandAsTheSettingsSay) {
    ASSERT_EQ(std::size(kControls), 43u);
    const POINT parent = clientOrigin(window());
    for (const Expected& e : kControls) {
        SCOPED_TRACE(e.name);
        HWND control = GetDlgItem(window(), e.id);
        ASSERT_NE(control, nullptr);
        const DWORD kept = ~(WS_DISABLED | takenByTheControl(e.kind));
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & kept, styleOf(e.kind) & kept);
        RECT rect{};
        GetWindowRect(control, &rect);
        EXPECT_EQ(rect.left - parent.x, e.x);
        EXPECT_EQ(rect.top - parent.y, e.y);
        if (e.width == kToTheRightEdge) {
            // Wholly in the window, so that the end of a long text scrolled into view shows.
            RECT client{};
            GetClientRect(window(), &client);
            EXPECT_EQ(rect.right - parent.x, client.right - 5);
        } else {
            EXPECT_EQ(rect.right - rect.left, e.width);
        }
        if (e.kind != Kind::Combo) {
            EXPECT_EQ(rect.bottom - rect.top, e.height);
        }
        // Check boxes and combo boxes are enabled; buttons and edit fields wait for the run.
        const bool enabled = e.kind == Kind::Combo || e.kind == Kind::CheckBox;
        EXPECT_EQ(IsWindowEnabled(control) != FALSE, enabled);
        if (e.kind == Kind::Combo) {
            EXPECT_EQ(SendMessageW(control, CB_GETCOUNT, 0, 0), 0) << "empty until the run";
        }
    }
    char16_t caption[32]{};
    GetWindowTextW(GetDlgItem(window(), 0x8059), caption, 32);
    EXPECT_EQ(std::u16string(caption), u"Flush static");
}

TEST_F(ChildControlsTest, CheckBoxesShowTheDefaults) {
    EXPECT_EQ(IsDlgButtonChecked(window(), 0x801E), BST_CHECKED) << "SCAN_LIVERIES";
    EXPECT_EQ(IsDlgButtonChecked(window(), 0x8003), BST_UNCHECKED) << "ALWAYS_ON_TOP";
    EXPECT_EQ(IsDlgButtonChecked(window(), 0x8006), BST_CHECKED) << "NAV_LIGHTS_WHILE_PARKED";
}

// The parking controls as a pair of switches, with INITIAL_LOAD_ONLY deciding about Now.
TEST_F(ChildControlsTest, AParkingUpdateDisablesItsControlsUntilItEnds) {
    auto& p = mrw::g_parameters();
    const HWND parkingControls[] = {p.parking_percentage.hwnd, p.WEEK.hwnd,         p.PARK_SOFT.hwnd,
                                    p.MAX_FIT_FL.hwnd,         p.MAX_PARK_SEL.hwnd, p.MAX_LIVE_SEL.hwnd,
                                    p.flushStaticButton.hwnd,  p.rereadButton.hwnd};
    for (const bool initialLoadOnly : {false, true}) {
        SCOPED_TRACE(initialLoadOnly ? "INITIAL_LOAD_ONLY on" : "INITIAL_LOAD_ONLY off");
        p.INITIAL_LOAD_ONLY.current = initialLoadOnly;
        EnableWindow(p.nowButton.hwnd, TRUE);
        mrw::gf_disableParkingControls();
        EXPECT_TRUE(mrw::g_parkingUpdateRunning);
        EXPECT_TRUE(mrw::g_nowButtonAllowed);
        for (HWND control : parkingControls)
            EXPECT_FALSE(IsWindowEnabled(control));
        EXPECT_EQ(IsWindowEnabled(p.nowButton.hwnd) != FALSE, initialLoadOnly) << "Now is left as it was";
        standin::pumpUntilIdle();
        ASSERT_TRUE(textAt(5, 315));
        EXPECT_EQ(textAt(5, 315)->color, mrw::kYellow) << "\"Airport parking\" while the update runs";

        mrw::gf_enableParkingControls();
        EXPECT_FALSE(mrw::g_parkingUpdateRunning);
        EXPECT_EQ(mrw::g_mainWindow().minutesToParkingUpdate, 20);
        for (HWND control : parkingControls)
            EXPECT_TRUE(IsWindowEnabled(control));
        EXPECT_TRUE(IsWindowEnabled(p.nowButton.hwnd));
        standin::pumpUntilIdle();
        ASSERT_TRUE(textAt(5, 315));
        EXPECT_EQ(textAt(5, 315)->color, mrw::kBlack);
    }
}

TEST_F(ChildControlsTest, ShowingASettingSelectsItsChoiceOrWritesItsText) {
    auto& p = mrw::g_parameters();
    p.RANGE.fillCombo();
    p.SIM_CHOICE.fillCombo();
    p.RANGE.current = 5;  // "50" begins with "5" too: the exact choice is selected
    mrw::gf_showIntParameter(p.RANGE);
    EXPECT_EQ(SendMessageW(p.RANGE.hwnd, CB_GETCURSEL, 0, 0), 3);
    p.SIM_CHOICE.current.set("MSFS 2024");
    mrw::gf_showStringParameter(p.SIM_CHOICE);
    EXPECT_EQ(SendMessageW(p.SIM_CHOICE.hwnd, CB_GETCURSEL, 0, 0), 1);
    p.DESTINATION.current.set("EHAM");
    mrw::gf_showStringParameter(p.DESTINATION);
    char16_t text[16]{};
    GetWindowTextW(p.DESTINATION.hwnd, text, 16);
    EXPECT_EQ(std::u16string(text), u"EHAM");
}

TEST_F(ChildControlsTest, ASettingWithoutAControlIsLoggedAndChangesNothing) {
    mrw::ControlParameter orphan{"ORPHAN", "x", 0x7001, 119};
    mrw::gf_showStringParameter(orphan);
    EXPECT_NE(folder->logText().find("GetDlgItem failed for ID 28673\n"), std::string::npos);
}

}  // namespace

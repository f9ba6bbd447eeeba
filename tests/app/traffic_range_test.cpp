#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/message_line.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "support/process_data_directory.h"
#include "support/test_support.h"
#include "support/test_window.h"

namespace mrw {
namespace {

HWND lf_combo(HWND parent, ControlBinding& binding, const std::vector<std::u16string>& items) {
    HWND combo = binding.hwnd = CreateWindowExW(
        0, u"ComboBox", u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, binding.rowY, 80, 200, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(binding.controlId)), nullptr, nullptr);
    for (const std::u16string& item : items)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    return combo;
}

class TrafficRangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mrwtest::useProcessDataDirectory();
        HWND window = mrwtest::createTestWindow(u"MrwTrafficRangeTest", DefWindowProcW, WS_VISIBLE);
        ASSERT_NE(window, nullptr);
        g_mainWindowView().hwnd = window;
        auto& s = g_parameters();
        std::vector<std::u16string> ranges;
        for (const int choice : s.RANGE.choices)
            ranges.push_back(utf16(std::to_string(choice)));
        range = lf_combo(window, s.RANGE, ranges);
        maxFit = lf_combo(window, s.MAX_FIT_FL, {u"0.5",  u"1.0",  u"1.5",  u"2.0",  u"2.5",  u"3.0", u"3.5",
                                                 u"4.0",  u"4.5",  u"5.0",  u"6.0",  u"7.0",  u"8.0", u"9.0",
                                                 u"10.0", u"12.0", u"15.0", u"18.0", u"21.0", u"24.0"});
        reset();
    }
    void TearDown() override {
        reset();
        g_parameters().RANGE.hwnd = nullptr;
        g_parameters().MAX_FIT_FL.hwnd = nullptr;
        g_mainWindowView().hwnd = nullptr;
        standin::destroyAllWindows();
    }
    static void reset() {
        auto& s = g_parameters();
        s.RANGE.current = s.RANGE.defaultValue;
        s.AUTO_RANGE.current = false;
        s.AR_ABOVE_HEIGHT.current = s.AR_ABOVE_HEIGHT.defaultValue;
        s.AIRP_HEIGHT.current = s.AIRP_HEIGHT.defaultValue;
        s.MAX_FIT.current = s.MAX_FIT.defaultValue;
        s.MAX_FIT_FL.current = s.MAX_FIT_FL.defaultValue;
        gf_setAutoRangeInputs({});
        gf_applyAutoRange();  // off: back to the saved range
    }
    static std::u16string utf16(const std::string& text) { return std::u16string(text.begin(), text.end()); }
    static LRESULT selected(HWND combo) { return SendMessageW(combo, CB_GETCURSEL, 0, 0); }

    mrwtest::ProgramFolder folder;  // clearing the message line may log
    HWND range = nullptr;
    HWND maxFit = nullptr;
};

TEST_F(TrafficRangeTest, RangeOutsideTheLimitsIsClampedOnlyInTheSetting) {
    gf_setRangeNm(500);
    EXPECT_EQ(g_parameters().RANGE.current, 100);
    EXPECT_EQ(g_rangeNm.load(), 500.0);
    EXPECT_EQ(g_rangeMeters.load(), 926000u);
    // 500 is no choice: the selection stays; 5 selects "5", not "50" by prefix.
    gf_setRangeNm(5);
    EXPECT_EQ(selected(range), 3);
    gf_setRangeNm(7);
    EXPECT_EQ(g_parameters().RANGE.current, 7);
    EXPECT_EQ(selected(range), 3);
}

TEST_F(TrafficRangeTest, AutomaticRangeFromHeightAndDistance) {
    const Lalo airport{52.0, 4.0};
    // Due north by d/60 degree is d nm on the program's sphere (to rounding).
    const auto at = [&](double distanceNm) {
        return Lalo{airport.latitude + distanceNm / 60.0, airport.longitude};
    };
    struct Case {
        AutoRangeInputs inputs;
        int range;
        std::int32_t arAboveHeight;
    };
    const Case cases[] = {
        {{true, std::nullopt, std::nullopt, std::nullopt}, 10, 48000},
        {{false, 20000.0, std::nullopt, std::nullopt}, 100, 18000},
        {{false, 20000.0, std::nullopt, std::nullopt}, 40, 48000},
        {{false, 3000.0, at(6.99), airport}, 10, 48000},
        {{false, 3000.0, at(7.2), airport}, 8, 48000},
        {{false, 3000.0, at(8.6), airport}, 10, 48000},
        {{false, 3000.0, at(22.6), airport}, 25, 48000},
        {{false, 3000.0, at(36.9), airport}, 35, 48000},
        {{false, 3000.0, at(37.01), airport}, 40, 48000},
        {{false, 3000.0, at(10.0), std::nullopt}, 40, 48000},
    };
    auto& s = g_parameters();
    s.AUTO_RANGE.current = true;
    for (const Case& c : cases) {
        s.AR_ABOVE_HEIGHT.current = c.arAboveHeight;
        s.RANGE.current = 65;
        gf_setAutoRangeInputs(c.inputs);
        lf_autoRange();
        EXPECT_EQ(g_parameters().RANGE.current, c.range) << &c - cases;
    }
}

// Below the park airport's height, the range follows the distance to it in whole nautical miles:
// both sides of each step.
TEST_F(TrafficRangeTest, EachDistanceStepOfTheAutomaticRange) {
    const Lalo airport{52.0, 4.0};
    const std::pair<int, int> cases[] = {{8, 8},   {9, 10},  {10, 10}, {11, 12}, {12, 12}, {13, 14}, {14, 14},
                                         {15, 16}, {16, 16}, {17, 18}, {18, 18}, {19, 20}, {22, 20}, {23, 25},
                                         {27, 25}, {28, 30}, {32, 30}, {33, 35}, {36, 35}};
    auto& s = g_parameters();
    s.AUTO_RANGE.current = true;
    for (const auto& [distanceNm, expected] : cases) {
        s.RANGE.current = 65;
        gf_setAutoRangeInputs(
            {false, 3000.0, Lalo{airport.latitude + distanceNm / 60.0, airport.longitude}, airport});
        lf_autoRange();
        EXPECT_EQ(s.RANGE.current, expected) << distanceNm << " nm";
    }
}

TEST_F(TrafficRangeTest, AutoRangeOffRestoresTheUsersRange) {
    auto& s = g_parameters();
    s.RANGE.current = 65;  // the user's choice, saved at once
    s.RANGE.save();
    gf_setRangeNm(65);
    s.AUTO_RANGE.current = true;
    gf_setAutoRangeInputs({true, std::nullopt, std::nullopt, std::nullopt});
    gf_setMessage("automatic range", false);
    gf_applyAutoRange();
    EXPECT_EQ(s.RANGE.current, 10);
    EXPECT_FALSE(IsWindowEnabled(range));

    s.AUTO_RANGE.current = false;
    gf_applyAutoRange();
    EXPECT_EQ(s.RANGE.current, 65);
    EXPECT_EQ(g_rangeNm.load(), 65.0);
    EXPECT_EQ(selected(range), 17);
    EXPECT_TRUE(IsWindowEnabled(range));

    // The run start sets the automatic range without passing through the switch: off still gives
    // the user's range, not the default.
    s.AUTO_RANGE.current = true;
    gf_setAutoRangeInputs({false, 36000.0, std::nullopt, std::nullopt});
    lf_autoRange();
    EXPECT_EQ(s.RANGE.current, 40);
    s.AUTO_RANGE.current = false;
    gf_applyAutoRange();
    EXPECT_EQ(s.RANGE.current, 65);
    std::lock_guard lock(g_mainWindow().messageMutex);
    EXPECT_EQ(g_mainWindow().message, "");
}

TEST_F(TrafficRangeTest, UnknownUserAircraftLeavesTheRange) {
    auto& s = g_parameters();
    gf_setRangeNm(30);
    s.AUTO_RANGE.current = true;
    gf_applyAutoRange();
    EXPECT_EQ(s.RANGE.current, 30);
    gf_setAutoRangeInputs({false, std::nullopt, std::nullopt, std::nullopt});
    lf_autoRange();
    EXPECT_EQ(s.RANGE.current, 30);
}

TEST_F(TrafficRangeTest, FitWindowInHours) {
    const std::pair<std::int32_t, float> cases[] = {
        {47, 24.0f}, {44, 24.0f}, {43, 21.0f}, {38, 21.0f}, {37, 18.0f}, {26, 15.0f}, {23, 12.0f},
        {21, 11.0f}, {20, 11.0f}, {19, 10.0f}, {16, 9.0f},  {14, 8.0f},  {12, 7.0f},  {10, 6.0f},
        {9, 5.0f},   {8, 4.5f},   {1, 1.0f},   {0, 0.5f},   {-3, 0.5f}};
    for (const auto& [halfHours, hours] : cases)
        EXPECT_EQ(gf_fitHoursOfIndex(halfHours), hours) << halfHours;

    auto& s = g_parameters();
    s.MAX_FIT.current = 23;
    gf_selectMaxFit();
    EXPECT_EQ(s.MAX_FIT_FL.current, 12.0f);
    EXPECT_EQ(selected(maxFit), 15);
    // 11 hours is no choice: the value changes, the selection stays.
    s.MAX_FIT.current = 20;
    gf_selectMaxFit();
    EXPECT_EQ(s.MAX_FIT_FL.current, 11.0f);
    EXPECT_EQ(selected(maxFit), 15);
}

}  // namespace
}  // namespace mrw

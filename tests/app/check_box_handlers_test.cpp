#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "aircraft/livery_catalogue.h"
#include "app/main_window.h"
#include "app/main_window_fixture.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/message_line.h"
#include "run/run_end.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/parking/parking_controls.h"

namespace {

using mrwtest::MainWindowTest;
using mrwtest::messageLine;

class CheckBoxHandlersTest : public MainWindowTest {
  protected:
    void TearDown() override {
        mrw::g_stopRequested = false;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        mrw::g_restartDelay = 0;
        {
            std::lock_guard lock(mrw::g_mainWindow().messageMutex);
            mrw::g_mainWindow().errorMessage.clear();
        }
        MainWindowTest::TearDown();
    }
    void click(const mrw::CheckBoxParameter& box) { ASSERT_TRUE(standin::click(box.hwnd)); }
};

// What a click shows: nothing (the line keeps its text), the line cleared, or a note.
struct Note {
    enum Kind { Keep, Clear, Text } kind;
    std::string text;
};
const Note kKeep{Note::Keep, ""};
const Note kClear{Note::Clear, ""};
Note text(std::string t) {
    return {Note::Text, std::move(t)};
}

struct Row {
    mrw::CheckBoxParameter mrw::ParameterCatalogue::*box;
    Note whenOn;
    Note whenOff;
    // A caption the panel repaint shows in another colour when the option is on.
    std::optional<POINT> caption = std::nullopt;
    COLORREF captionOn = 0;
    COLORREF captionOff = 0;
};

TEST_F(CheckBoxHandlersTest, EachCheckBoxTogglesSavesAndShowsItsNote) {
    using C = mrw::ParameterCatalogue;
    mrw::g_awaitingRealTraffic = false;  // the scans then wait for the next start
    const std::string objectIdList =
        (std::filesystem::current_path() / "output" / "info" / "ObjectIdList.txt").string();
    const Row rows[] = {
        {&C::ALWAYS_ON_TOP, text("Merrowvale's window will remain visible"), kClear},
        {&C::GUID_CHANGES, kClear,
         text("Be aware, no more livery updates: you miss correct data for Learn, LittleNavMap, etc!"),
         POINT{768, 203}, mrw::kBlack, mrw::kYellow},
        {&C::NAV_LIGHTS_WHILE_PARKED, kKeep, kKeep},
        {&C::OBJECTID_LIST,
         text("Every minute info about all active live aircraft is written to the file " + objectIdList),
         kClear},
        {&C::AEROWINX, text("Note: This mode is for Aerowinx PSX users only, please re-start Merrowvale"),
         kClear, POINT{672, 203}, mrw::kYellow, mrw::kBlack},
        {&C::SCAN_LIVERIES, text("Your liveries will be scanned at the next start of Merrowvale"), kClear,
         POINT{25, 147}, mrw::kYellow, mrw::kBlack},
        {&C::LIG_AUTOMATIC, kClear, text("The liveries defined by your lfolder parameters will be scanned")},
        {&C::LIG_PRIORITIZE,
         text("Liveries, for airl+model, in lower lfolders that are already available will be skipped"),
         kClear},
        {&C::SCAN_AIRPORTS, text("Your airports will be scanned at the next start of Merrowvale"), kClear,
         POINT{25, 175}, mrw::kYellow, mrw::kBlack},
        {&C::LIGHT_AIRCRAFT, kKeep, kKeep},
        {&C::HELICOPTERS, kKeep, kKeep},
        {&C::HIGH_PERF_AIRCRAFT, kKeep, kKeep},
        {&C::AUTO_RANGE, kKeep, kClear, POINT{430, 231}, mrw::kBlack, mrw::kGrey},
        {&C::AIRBORNE_ONLY,
         text("Be aware, airborne live traffic only!  (greater than 150 ft above ground ...)"), kClear,
         POINT{592, 231}, mrw::kYellow, mrw::kBlack},
        {&C::COLLISION_USER_AIR, kClear,
         text("Be aware, user aircraft may collide with (run through) live aircraft in the air")},
        {&C::COLLISION_USER_GND, kClear,
         text("Be aware, user aircraft may collide with (run through) live aircraft and static parked on the "
              "ground")},
        {&C::COLLISION_LIVE_PARKED_GND, kClear,
         text("Be aware, live aircraft may collide with (run through) static parked on the ground")},
        {&C::INITIAL_LOAD_ONLY,
         text("Initial Load Only: static parked aircraft are generated once, no renewal every 20 minutes"),
         kClear, POINT{25, 371}, mrw::kYellow, mrw::kBlack},
        {&C::PARK_SOFT, kKeep, kKeep},
        {&C::WEEK, kKeep, kKeep},
        {&C::STRAIGHT_PBS_ONLY, kKeep, kKeep, POINT{672, 315}, mrw::kBlack, mrw::kGrey},
    };
    ASSERT_EQ(std::size(rows), 21u);
    auto& p = mrw::g_parameters();
    for (const Row& row : rows) {
        mrw::CheckBoxParameter& box = p.*(row.box);
        SCOPED_TRACE(box.name);
        for (int click = 0; click < 2; ++click) {  // twice: the value comes back, saved both times
            const bool on = !box.current;
            mrw::gf_setMessage("marker", false);
            CheckBoxHandlersTest::click(box);
            EXPECT_EQ(box.current.load(), on);
            EXPECT_EQ(IsDlgButtonChecked(window(), box.controlId), on ? BST_CHECKED : BST_UNCHECKED);
            EXPECT_EQ(mrwtest::savedBool(box.name), on);
            const Note& note = on ? row.whenOn : row.whenOff;
            EXPECT_EQ(messageLine(), note.kind == Note::Keep ? "marker" : note.text) << (on ? "on" : "off");
            if (row.caption) {
                const auto caption = textAt(row.caption->x, row.caption->y);
                ASSERT_TRUE(caption);
                EXPECT_EQ(caption->color, on ? row.captionOn : row.captionOff) << "the panel was repainted";
            }
        }
    }
    EXPECT_FALSE(mrw::g_stopRequested) << "no scan restarted the run";
    EXPECT_EQ(folder->logText().find("Be aware"), std::string::npos) << "the notes are not logged";
}

TEST_F(CheckBoxHandlersTest, OptionsEnableTheControlsThatDependOnThem) {
    auto& p = mrw::g_parameters();
    click(p.ALWAYS_ON_TOP);
    EXPECT_NE(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    click(p.ALWAYS_ON_TOP);
    EXPECT_EQ(GetWindowLongPtrW(window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    // SCAN_LIVERIES off enables the package choice whatever LIG_AUTOMATIC is.
    mrw::g_awaitingRealTraffic = false;
    click(p.LIG_AUTOMATIC);  // off
    EXPECT_FALSE(IsWindowEnabled(p.AI_PACKAGE_SELECTOR.hwnd));
    click(p.SCAN_LIVERIES);  // off
    EXPECT_TRUE(IsWindowEnabled(p.AI_PACKAGE_SELECTOR.hwnd));
    click(p.SCAN_LIVERIES);  // on
    EXPECT_FALSE(IsWindowEnabled(p.AI_PACKAGE_SELECTOR.hwnd));

    click(p.AUTO_RANGE);  // off
    EXPECT_FALSE(IsWindowEnabled(p.AR_ABOVE_HEIGHT.hwnd));
    EXPECT_TRUE(IsWindowEnabled(p.RANGE.hwnd));
    mrw::gf_setAutoRangeInputs({true, std::nullopt, std::nullopt, std::nullopt});
    click(p.AUTO_RANGE);  // on, on the ground
    EXPECT_TRUE(IsWindowEnabled(p.AR_ABOVE_HEIGHT.hwnd));
    EXPECT_FALSE(IsWindowEnabled(p.RANGE.hwnd));
    EXPECT_EQ(p.RANGE.current, 10);

    // INITIAL_LOAD_ONLY off enables Now only once the run's set-up has allowed it.
    click(p.INITIAL_LOAD_ONLY);  // on
    click(p.INITIAL_LOAD_ONLY);  // off, before any run start
    EXPECT_FALSE(IsWindowEnabled(p.nowButton.hwnd));
    mrw::g_nowButtonAllowed = true;
    click(p.INITIAL_LOAD_ONLY);  // on
    EXPECT_FALSE(IsWindowEnabled(p.nowButton.hwnd));
    click(p.INITIAL_LOAD_ONLY);  // off
    EXPECT_TRUE(IsWindowEnabled(p.nowButton.hwnd));
}

TEST_F(CheckBoxHandlersTest, AScanSwitchedOnBeforeRealTrafficAnswersRestartsTheRun) {
    auto& p = mrw::g_parameters();
    struct Case {
        mrw::CheckBoxParameter mrw::ParameterCatalogue::*box;
        bool awaiting;
        bool latchSet;
        std::string message;
        bool restarts;
    };
    using C = mrw::ParameterCatalogue;
    const Case cases[] = {
        {&C::SCAN_AIRPORTS, true, false, "Your airports will be scanned", true},
        {&C::SCAN_AIRPORTS, false, false, "Your airports will be scanned at the next start of Merrowvale",
         false},
        {&C::SCAN_AIRPORTS, true, true, "Your airports will be scanned", false},
        {&C::SCAN_LIVERIES, true, false, "Your liveries will be scanned", true},
        {&C::SCAN_LIVERIES, false, false, "Your liveries will be scanned at the next start of Merrowvale",
         false},
    };
    for (const Case& c : cases) {
        mrw::CheckBoxParameter& box = p.*(c.box);
        SCOPED_TRACE(box.name + (c.awaiting ? " awaiting" : " connected") + (c.latchSet ? " latched" : ""));
        mrw::g_stopRequested = false;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        mrw::g_restartDelay = 0;
        if (c.latchSet) mrw::gf_stopWithReason(mrw::ExitReason::SimConnectError, 15);
        mrw::g_awaitingRealTraffic = c.awaiting;
        mrw::g_liveriesProcessed = true;
        box.current = false;
        box.showCheck();
        click(box);
        EXPECT_EQ(messageLine(), c.message);
        const bool logged = folder->logText().find(c.message + "\n") != std::string::npos;
        EXPECT_EQ(logged, c.awaiting);
        if (c.restarts) {
            EXPECT_TRUE(mrw::g_stopRequested);
            EXPECT_EQ(mrw::g_exitReason, mrw::ExitReason::NewSettings);
            EXPECT_EQ(mrw::g_restartDelay, 2);
        } else if (c.latchSet) {
            EXPECT_EQ(mrw::g_exitReason, mrw::ExitReason::SimConnectError) << "the first reason stays";
            EXPECT_EQ(mrw::g_restartDelay, 15);
        } else {
            EXPECT_FALSE(mrw::g_stopRequested);
        }
        if (&box == &p.SCAN_LIVERIES) {
            EXPECT_EQ(mrw::g_liveriesProcessed.load(), !c.awaiting);
        }
    }
}

TEST_F(CheckBoxHandlersTest, TheStickyErrorStaysWhenABoxShowsANote) {
    auto& p = mrw::g_parameters();
    mrw::gf_setErrorMessage("150: no packages folder");
    click(p.AEROWINX);
    EXPECT_TRUE(p.AEROWINX.current);
    std::lock_guard lock(mrw::g_mainWindow().messageMutex);
    EXPECT_EQ(mrw::g_mainWindow().errorMessage, "150: no packages folder");
    EXPECT_EQ(mrw::g_mainWindow().message, "");
}

// The main worker refreshes check marks, the message line and the parking controls while the user
// clicks: neither thread may wait for the other for ever.
TEST_F(CheckBoxHandlersTest, AWorkerChangesTheWindowWhileTheUserClicks) {
    auto& p = mrw::g_parameters();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i) {
            mrw::gf_setMessage("worker " + std::to_string(i), false);
            p.OBJECTID_LIST.showCheck();
            if (i % 2 == 0) {
                mrw::gf_disableParkingControls();
            } else {
                mrw::gf_enableParkingControls();
            }
        }
        done = true;
    });
    int clicks = 0;
    const bool finished = standin::pumpUntil(
        [&] {
            if (clicks < 50) {
                standin::click(p.LIGHT_AIRCRAFT.hwnd);
                ++clicks;
            }
            return done.load();
        },
        std::chrono::seconds(60));
    worker.join();
    EXPECT_TRUE(finished) << "no deadlock";
    EXPECT_EQ(p.LIGHT_AIRCRAFT.current.load(), clicks % 2 == 0);
    EXPECT_FALSE(mrw::g_parkingUpdateRunning);
    EXPECT_TRUE(IsWindowEnabled(p.MAX_PARK_SEL.hwnd));
}

}  // namespace

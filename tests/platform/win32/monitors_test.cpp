#include "platform/win32/win32_fixture.h"

using namespace win32test;

namespace {

class MonitorsTest : public Win32Test {};

struct MonitorCase {
    const char* name;
    RECT rect;
    DWORD flags;
    int expected;  // index into the layout; -1: no monitor
};

RECT lf_workOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetMonitorInfoW(monitor, &info));
    return info.rcWork;
}

TEST_F(MonitorsTest, DefaultIsOneFullHdWorkAreaAtTheOrigin) {
    RECT far{5000, 5000, 5000, 5000};
    HMONITOR monitor = MonitorFromRect(&far, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(monitor, &info));
    EXPECT_EQ(info.rcWork.left, 0);
    EXPECT_EQ(info.rcWork.top, 0);
    EXPECT_EQ(info.rcWork.right, 1920);
    EXPECT_EQ(info.rcWork.bottom, 1080);
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    EXPECT_EQ(MonitorFromRect(&far, MONITOR_DEFAULTTONULL), nullptr);

    info.cbSize = 4;
    EXPECT_FALSE(GetMonitorInfoW(monitor, &info)) << "the size must be set";
}

TEST_F(MonitorsTest, LargestOverlapWinsElseTheNearest) {
    // A primary monitor with a taskbar at the bottom and a second one to its left.
    standin::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1040}},
                          {RECT{-1280, 0, 0, 1024}, RECT{-1280, 0, 0, 1024}}});
    const RECT works[] = {RECT{0, 0, 1920, 1040}, RECT{-1280, 0, 0, 1024}};
    const MonitorCase cases[] = {
        {"inside the primary", RECT{100, 100, 980, 616}, MONITOR_DEFAULTTONEAREST, 0},
        {"mostly on the left one", RECT{-850, 20, 30, 536}, MONITOR_DEFAULTTONEAREST, 1},
        {"mostly on the primary", RECT{-30, 20, 850, 536}, MONITOR_DEFAULTTONEAREST, 0},
        {"empty rectangle on the left one", RECT{-400, 20, -400, 20}, MONITOR_DEFAULTTONULL, 1},
        {"far left: nearest", RECT{-9000, 0, -8000, 100}, MONITOR_DEFAULTTONEAREST, 1},
        {"far right: nearest", RECT{9000, 0, 9100, 100}, MONITOR_DEFAULTTONEAREST, 0},
        {"below the left one: nearest", RECT{-600, 2000, -500, 2100}, MONITOR_DEFAULTTONEAREST, 1},
        {"far off, primary asked", RECT{-9000, 0, -8000, 100}, MONITOR_DEFAULTTOPRIMARY, 0},
        {"far off, none asked", RECT{-9000, 0, -8000, 100}, MONITOR_DEFAULTTONULL, -1},
    };
    for (const MonitorCase& c : cases) {
        SCOPED_TRACE(c.name);
        HMONITOR monitor = MonitorFromRect(&c.rect, c.flags);
        if (c.expected < 0) {
            EXPECT_EQ(monitor, nullptr);
            continue;
        }
        RECT work = lf_workOf(monitor);
        EXPECT_EQ(work.left, works[c.expected].left);
        EXPECT_EQ(work.bottom, works[c.expected].bottom);
    }
}

TEST_F(MonitorsTest, HandlesOfAnEarlierLayoutFail) {
    RECT origin{0, 0, 1, 1};
    HMONITOR before = MonitorFromRect(&origin, MONITOR_DEFAULTTONEAREST);
    standin::setMonitors({{RECT{0, 0, 800, 600}, RECT{0, 0, 800, 560}}});
    MONITORINFO info{};
    info.cbSize = sizeof info;
    EXPECT_FALSE(GetMonitorInfoW(before, &info));
    EXPECT_FALSE(GetMonitorInfoW(nullptr, &info));
    EXPECT_EQ(lf_workOf(MonitorFromRect(&origin, MONITOR_DEFAULTTONEAREST)).bottom, 560);
}

TEST_F(MonitorsTest, MaximizedWindowFillsItsWorkAreaAndKeepsTheNormalPosition) {
    standin::setMonitors({{RECT{0, 0, 1920, 1080}, RECT{0, 40, 1920, 1080}}});
    HWND hwnd = createTestWindow();
    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right, 1920);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(GetWindowPlacement(hwnd, &placement));
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
    // Workspace coordinates: relative to the primary work area (taskbar at the top).
    EXPECT_EQ(placement.rcNormalPosition.left, 10);
    EXPECT_EQ(placement.rcNormalPosition.top, 20 - 40);
}

}  // namespace

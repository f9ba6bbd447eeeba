#include "app/process_entry.h"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <pugixml.hpp>

#include "app/main_window.h"
#include "app/process_entry_internal.h"
#include "app/window_procedure.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_elements.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "platform/system/message_box.h"
#include "platform/system/single_instance.h"
#include "platform/wide_text.h"
#include "platform/win32/win32.h"

namespace fs = std::filesystem;

namespace mrw {

namespace {

// Pixels of the window that stay inside the work area of its monitor.
constexpr LONG kMonitorMargin = 48;

bool lf_equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    auto lower = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

std::vector<std::u16string> lf_commandLineArguments() {
    INT count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::u16string> arguments;
    for (INT i = 1; argv != nullptr && i < count; ++i)
        arguments.emplace_back(platform::asUtf16(argv[i]));
    LocalFree(argv);
    return arguments;
}

// One coordinate of the monitor rule: a window larger than the work area starts at its start; the
// far edge stays margin pixels inside the start, the near edge margin pixels inside the end.
LONG lf_keptInside(LONG start, LONG size, LONG areaStart, LONG areaEnd) {
    if (size > areaEnd - areaStart) start = areaStart;
    if (start + size < areaStart + kMonitorMargin) start = areaStart + kMonitorMargin - size;
    return std::min(start, areaEnd - kMonitorMargin);
}

// A coordinate at a limit of its parameter is replaced by the fallback and saved.
void lf_repairAtLimit(IntParameter& coordinate, std::int32_t fallback) {
    const std::int32_t value = coordinate.current;
    if (value != coordinate.minimum && value != coordinate.maximum) return;
    coordinate.current = coordinate.clamp(fallback);
    coordinate.save();
}

// The saved position from parameters.xml; a file that does not parse is kept as parameters0.xml
// and removed, so that the run writes a new one.
void lf_readSavedPosition() {
    const fs::path file = gf_appDataPath() / "Merrowvale" / "parameters.xml";
    std::error_code error;
    if (!fs::exists(fs::status(file, error)) || error) return;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(file.c_str());
    if (!parsed) {
        gf_logError(fmt::format("{} failed to load ({}). Saved as 0.xml and removed.", path_to_utf8(file),
                                parsed.description()));
        gf_save1GenerationOf(file);
        fs::remove(file, error);
        return;
    }
    for (IntParameter* coordinate : {&g_parameters().mainWindowX, &g_parameters().mainWindowY}) {
        const auto stored = gf_readIntParameter(document, coordinate->name);
        coordinate->current = stored ? coordinate->clamp(*stored) : coordinate->defaultValue;
    }
    lf_keepWindowOnMonitor(g_parameters().mainWindowX.defaultValue, g_parameters().mainWindowY.defaultValue);
}

bool lf_makeDataDirectory() {
    try {
        const fs::path& directory = g_dataDirectory();
        if (!fs::exists(directory)) fs::create_directories(directory);
        return true;
    } catch (const fs::filesystem_error& e) {
        gf_logLine(fmt::format("Failed to create directory: {}", e.what()));
        return false;
    }
}

int lf_messageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

std::optional<bool> gf_productionSwitch(const std::vector<std::u16string>& arguments) {
    std::optional<bool> wanted;
    for (const std::u16string& argument : arguments) {
        if (lf_equalsIgnoringCase(argument, u"--production") ||
            lf_equalsIgnoringCase(argument, u"/production")) {
            wanted = true;
        } else if (lf_equalsIgnoringCase(argument, u"--no-production") ||
                   lf_equalsIgnoringCase(argument, u"/no-production")) {
            wanted = false;
        }
    }
    return wanted;
}

RECT gf_restoredWindowRect(HWND hwnd) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd, &placement) && (placement.showCmd == static_cast<UINT>(SW_SHOWMINIMIZED) ||
                                                 placement.showCmd == static_cast<UINT>(SW_SHOWMAXIMIZED)))
        return placement.rcNormalPosition;
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

void lf_keepWindowOnMonitor(std::int32_t fallbackX, std::int32_t fallbackY) {
    lf_repairAtLimit(g_parameters().mainWindowX, fallbackX);
    lf_repairAtLimit(g_parameters().mainWindowY, fallbackY);

    // The restored size: a maximized window is as wide as the work area and would always be moved.
    const RECT rect = gf_restoredWindowRect(g_mainWindowView().hwnd);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    const LONG left = g_parameters().mainWindowX.current;
    const LONG top = g_parameters().mainWindowY.current;
    const RECT moved{left, top, left + width, top + height};

    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&moved, MONITOR_DEFAULTTONEAREST), &info);
    const LONG newLeft = lf_keptInside(left, width, info.rcWork.left, info.rcWork.right);
    const LONG newTop = lf_keptInside(top, height, info.rcWork.top, info.rcWork.bottom);
    if (newLeft == left && newTop == top) return;
    g_parameters().mainWindowX.current = g_parameters().mainWindowX.clamp(newLeft);
    g_parameters().mainWindowX.save();
    g_parameters().mainWindowY.current = g_parameters().mainWindowY.clamp(newTop);
    g_parameters().mainWindowY.save();
    SetWindowPos(g_mainWindowView().hwnd, nullptr, newLeft, newTop, 0, 0,
                 SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
}

bool initInstance(HINSTANCE instance, std::u16string_view className) {
    MainWindow& window = g_mainWindow();
    const auto start = std::chrono::steady_clock::now();
    while (!window.initialised) {
        if (std::chrono::steady_clock::now() - start > std::chrono::nanoseconds(999'999'999)) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    lf_readSavedPosition();
    const std::u16string name(className);
    HWND hwnd = CreateWindowExW(0, name.c_str(), name.c_str(), WS_CAPTION | WS_SYSMENU,
                                g_parameters().mainWindowX.current, g_parameters().mainWindowY.current,
                                kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
    g_mainWindowView().hwnd = hwnd;
    if (hwnd == nullptr) return false;
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    return true;
}

bool gf_registerWindowClass(HINSTANCE instance, LPCWSTR className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = wndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(100));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) != 0;
}

int gf_runApplication(HINSTANCE instance) {
    // Decided by the command line alone, before any step can end the start: without a switch the
    // mode is off, whatever an earlier start left.
    g_productionMode = gf_productionSwitch(lf_commandLineArguments()).value_or(false);

    char16_t title[100];
    if (LoadStringW(instance, 101, title, 100) == 0) {
        gf_logLine("Failed to load application title");
        return 1;
    }
    if (!gf_registerWindowClass(instance, platform::asWide(title))) {
        gf_logLine("Failed to register window class");
        return 1;
    }
    if (!lf_makeDataDirectory()) return 1;
    if (!initInstance(instance, title)) {
        gf_logError("initInstance failed");
        return 1;
    }
    if (HWND hwnd = g_mainWindowView().hwnd.load()) PostMessageW(hwnd, WM_APP_START_RUN, 0, 0);
    return lf_messageLoop();
}

}  // namespace mrw

INT wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, INT) {
    // Held while the application runs; an instance that finds it taken ends holding nothing.
    const platform::SingleInstanceLock guard("MRWV");
    if (guard.state() == platform::InstanceLock::AlreadyRunning) return -1;
    try {
        mrw::gf_openLog();
    } catch (const std::exception& e) {
        platform::showWarningMessageBox(e.what(), mrw::kProductName);
        return 1;
    }
    return mrw::gf_runApplication(instance);
}

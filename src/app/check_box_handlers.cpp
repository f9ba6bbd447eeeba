#include "app/check_box_handlers.h"

#include <fmt/format.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "aircraft/livery_catalogue.h"
#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/file_names.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "run/run_end.h"
#include "traffic/engine/window_requests.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/parking/parking_controls.h"

namespace mrw {

namespace {

// A note of the table: none (the message line is left alone), clear, or a text shown unlogged.
using Note = std::optional<std::string>;
const Note kNothing = std::nullopt;
const Note kClear = std::string();

struct CheckBoxRule {
    CheckBoxParameter& box;
    Note whenOn;
    Note whenOff;
    bool repaintPanel;
    std::function<void(HWND, bool)> also;  // the option's own step after the note
};

void lf_show(const Note& note) {
    if (!note) return;
    if (note->empty()) {
        gf_clearMessage();
    } else {
        gf_setMessage(*note, false);
    }
}

// A scan switched on: at once, by a restart (NEW SETTINGS, 2 s), while the run still waits for
// RealTraffic; else at the next start.
void lf_scanSwitchedOn(std::string_view what, const std::function<void()>& beforeRestart) {
    if (g_awaitingRealTraffic) {
        if (beforeRestart) beforeRestart();
        gf_setMessage(fmt::format("Your {} will be scanned", what), true);
        gf_stopWithReason(ExitReason::NewSettings, 2);
    } else {
        gf_setMessage(fmt::format("Your {} will be scanned at the next start of {}", what, kProductName),
                      false);
    }
}

void lf_onScanLiveries(HWND, bool on) {
    gf_enableControl(g_parameters().AI_PACKAGE_SELECTOR, !on);
    if (!on) return;
    lf_scanSwitchedOn("liveries", [] {
        gf_clearLiveryCatalogue();
        g_liveriesProcessed = false;
    });
}

void lf_onScanAirports(HWND, bool on) {
    if (on) lf_scanSwitchedOn("airports", nullptr);
}

std::vector<CheckBoxRule> lf_rules() {
    ParameterCatalogue& p = g_parameters();
    const std::string objectIdList = path_to_utf8(std::filesystem::current_path() / g_objectIdListFile);
    return {
        {p.ALWAYS_ON_TOP, fmt::format("{}'s window will remain visible", kProductName), kClear, true,
         [](HWND hwnd, bool on) {
             SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
         }},
        {p.GUID_CHANGES, kClear,
         "Be aware, no more livery updates: you miss correct data for Learn, LittleNavMap, etc!", true,
         nullptr},
        {p.NAV_LIGHTS_WHILE_PARKED, kNothing, kNothing, false,
         [](HWND, bool on) { gf_requestNavLights(on); }},
        {p.OBJECTID_LIST,
         fmt::format("Every minute info about all active live aircraft is written to the file {}",
                     objectIdList),
         kClear, false, nullptr},
        {p.AEROWINX,
         fmt::format("Note: This mode is for Aerowinx PSX users only, please re-start {}", kProductName),
         kClear, true, nullptr},
        {p.SCAN_LIVERIES, kNothing, kClear, true, lf_onScanLiveries},
        {p.LIG_AUTOMATIC, kClear, "The liveries defined by your lfolder parameters will be scanned", false,
         [](HWND, bool on) { gf_enableControl(g_parameters().AI_PACKAGE_SELECTOR, on); }},
        {p.LIG_PRIORITIZE,
         "Liveries, for airl+model, in lower lfolders that are already available will be skipped", kClear,
         false, nullptr},
        {p.SCAN_AIRPORTS, kNothing, kClear, true, lf_onScanAirports},
        {p.LIGHT_AIRCRAFT, kNothing, kNothing, false, nullptr},
        {p.HELICOPTERS, kNothing, kNothing, false, nullptr},
        {p.HIGH_PERF_AIRCRAFT, kNothing, kNothing, false, nullptr},
        {p.AUTO_RANGE, kNothing, kNothing, true,
         [](HWND, bool on) {
             gf_enableControl(g_parameters().AR_ABOVE_HEIGHT, on);
             gf_applyAutoRange();
         }},
        {p.AIRBORNE_ONLY,
         fmt::format("Be aware, airborne live traffic only!  (greater than {:.0f} ft above ground ...)",
                     150.0),
         kClear, true, nullptr},
        {p.COLLISION_USER_AIR, kClear,
         "Be aware, user aircraft may collide with (run through) live aircraft in the air", false, nullptr},
        {p.COLLISION_USER_GND, kClear,
         "Be aware, user aircraft may collide with (run through) live aircraft and static parked on the "
         "ground",
         false, nullptr},
        {p.COLLISION_LIVE_PARKED_GND, kClear,
         "Be aware, live aircraft may collide with (run through) static parked on the ground", false,
         nullptr},
        {p.INITIAL_LOAD_ONLY,
         fmt::format(
             "Initial Load Only: static parked aircraft are generated once, no renewal every {} minutes", 20),
         kClear, true, [](HWND, bool) { gf_enableNowButtonByOption(); }},
        {p.PARK_SOFT, kNothing, kNothing, false, nullptr},
        {p.WEEK, kNothing, kNothing, false, nullptr},
        {p.STRAIGHT_PBS_ONLY, kNothing, kNothing, true, nullptr},
    };
}

}  // namespace

bool lf_onCheckBox(HWND hwnd, std::uint16_t id) {
    for (const CheckBoxRule& rule : lf_rules()) {
        if (rule.box.controlId != id) continue;
        const bool on = IsDlgButtonChecked(hwnd, id) != BST_CHECKED;
        CheckDlgButton(hwnd, id, on ? BST_CHECKED : BST_UNCHECKED);
        rule.box.current = on;
        rule.box.save();
        lf_show(on ? rule.whenOn : rule.whenOff);
        if (rule.also) rule.also(hwnd, on);
        if (rule.repaintPanel) InvalidateRect(hwnd, &kControlPanelRect, TRUE);
        return true;
    }
    return false;
}

}  // namespace mrw

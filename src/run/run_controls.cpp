// The child controls at the start of each run.

#include <fmt/format.h>

#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/text_encoding.h"
#include "platform/win32/user32.h"
#include "run/main_worker.h"
#include "run/main_worker_internal.h"
#include "traffic/parking/parking_controls.h"

namespace mrw {

namespace {

void lf_enable(std::initializer_list<const ControlBinding*> bindings, bool enable) {
    for (const ControlBinding* binding : bindings)
        gf_enableControl(*binding, enable);
}

void lf_fillAndSelect(const IntComboParameter& combo) {
    gf_enableControl(combo, true);
    combo.fillCombo();
    gf_selectChoice(combo, combo.current);
}

// MAX_FIT_FL's entries are its choices as "{:.1f}"; the entry equal to the current value selected.
void lf_fillMaxFitCombo() {
    FloatComboParameter& maxFit = g_parameters().MAX_FIT_FL;
    if (maxFit.hwnd == nullptr) return;
    SendMessageW(maxFit.hwnd, CB_RESETCONTENT, 0, 0);
    for (const float choice : maxFit.choices) {
        const std::u16string text = utf8_to_wide(fmt::format("{:.1f}", choice));
        SendMessageW(maxFit.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    gf_selectChoice(maxFit, maxFit.current);
    gf_selectMaxFit();
    gf_enableControl(maxFit, false);
}

// The entry that equals the current value exactly (the fill's own selection is a prefix match).
void lf_fillAndSelectExact(const StringComboParameter& combo) {
    combo.fillCombo();
    const std::optional<std::size_t> index = combo.indexOfCurrent();
    if (index && combo.hwnd != nullptr)
        SendMessageW(combo.hwnd, CB_SETCURSEL, static_cast<WPARAM>(*index), 0);
}

}  // namespace

void lf_initControls() {
    ParameterCatalogue& p = g_parameters();
    lf_enable({&p.ALWAYS_ON_TOP, &p.NAV_LIGHTS_WHILE_PARKED, &p.OBJECTID_LIST, &p.GUID_CHANGES,
               &p.SCAN_LIVERIES, &p.LIG_AUTOMATIC, &p.LIG_PRIORITIZE},
              true);
    gf_enableControl(p.SCAN_AIRPORTS, false);
    gf_enableControl(p.tbloZipButton, false);
    gf_enableControl(p.MATCHING_DEPTH, true);
    p.MATCHING_DEPTH.fillCombo();
    lf_enable({&p.LIGHT_AIRCRAFT, &p.HELICOPTERS, &p.HIGH_PERF_AIRCRAFT}, true);
    const bool autoRange = p.AUTO_RANGE.current;
    gf_enableControl(p.RANGE, !autoRange);
    p.RANGE.fillCombo();
    gf_enableControl(p.AUTO_RANGE, true);
    gf_enableControl(p.AR_ABOVE_HEIGHT, autoRange);
    p.AR_ABOVE_HEIGHT.fillCombo();
    lf_enable({&p.AIRBORNE_ONLY, &p.COLLISION_USER_GND, &p.COLLISION_USER_AIR, &p.COLLISION_LIVE_PARKED_GND},
              true);
    gf_enableControl(p.blockButton, false);
    gf_enableControl(p.BLOCK_CALLSIGN, true);
    gf_enableControl(p.unblockButton, !p.BLOCK_CALLSIGN.current.empty());
    if (!p.INITIAL_LOAD_ONLY.current) gf_enableControl(p.nowButton, false);
    g_nowButtonAllowed = true;
    lf_fillAndSelect(p.MAX_PARK_SEL);
    lf_fillAndSelect(p.MAX_LIVE_SEL);
    gf_enableControl(p.STRAIGHT_PBS_ONLY, true);
    lf_enable({&p.csToOidButton, &p.CALLSIGN_2_OBJECTID}, false);
    gf_enableControl(p.AI_PACKAGE_SELECTOR, p.LIG_AUTOMATIC.current);
    lf_fillAndSelectExact(p.AI_PACKAGE_SELECTOR);
    g_msfs2020 = p.SIM_CHOICE.current == "MSFS 2020";
    gf_enableControl(p.SIM_CHOICE, true);
    lf_fillAndSelectExact(p.SIM_CHOICE);
    g_simId = g_msfs2020.load() ? 1 : 2;
    gf_enableControl(p.DESTINATION, false);
    lf_enable({&p.AIRP_RANGE, &p.AIRP_HEIGHT}, true);
    p.AIRP_RANGE.fillCombo();
    p.AIRP_HEIGHT.fillCombo();
    gf_enableControl(p.rereadButton, false);
    p.parking_percentage.fillCombo();
    gf_enableControl(p.parking_percentage, false);
    p.parking_percentage.current = 30;
    gf_selectChoice(p.parking_percentage, 30);
    lf_fillMaxFitCombo();
    lf_enable({&p.WEEK, &p.PARK_SOFT}, true);
    gf_enableControl(p.flushStaticButton, false);
    gf_enableControl(p.INITIAL_LOAD_ONLY, true);
}

}  // namespace mrw

#include "app/combo_box_handlers.h"

#include <cmath>
#include <vector>

#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "traffic/engine/window_requests.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/sim/sim_version_switch.h"

namespace mrw {

namespace {

// The text choices: a pick of the current entry again changes and saves nothing.
bool lf_takeText(ControlParameter& parameter, const ComboSelection& selection) {
    if (parameter.current == selection.text) return false;
    parameter.current.set(selection.text);
    return true;
}

void lf_onSimChoice(const ComboSelection& selection) {
    StringComboParameter& simChoice = g_parameters().SIM_CHOICE;
    if (!lf_takeText(simChoice, selection)) return;
    simChoice.save();
    if (const auto index = simChoice.indexOfCurrent()) SendMessageW(simChoice.hwnd, CB_SETCURSEL, *index, 0);
    lf_switchSimVersion();
}

void lf_onPackageSelector(const ComboSelection& selection) {
    StringComboParameter& selector = g_parameters().AI_PACKAGE_SELECTOR;
    if (!lf_takeText(selector, selection)) return;
    selector.save();
    gf_setMessage("If you want to make this choice effective, you must start a Scan for liveries", true);
}

void lf_onCallsignChoice(HWND hwnd, const ComboSelection& selection) {
    ParameterCatalogue& p = g_parameters();
    if (!lf_takeText(p.CALLSIGN_2_OBJECTID, selection)) return;
    g_mainWindow().callsignObjectIdText.set("");
    InvalidateRect(hwnd, &kControlPanelRect, TRUE);
    g_csToOidLookup.exchange(true);
    const bool unblockEnabled = p.unblockButton.hwnd != nullptr && IsWindowEnabled(p.unblockButton.hwnd);
    gf_enableControl(p.blockButton, !unblockEnabled);
}

// An int combo: the choice at the index; false for an index outside the choices.
bool lf_onIntChoice(IntComboParameter& parameter, const ComboSelection& selection) {
    ParameterCatalogue& p = g_parameters();
    if (selection.index < 0 || static_cast<std::size_t>(selection.index) >= parameter.choices.size())
        return false;
    const std::int32_t old = parameter.current;
    const std::int32_t value = parameter.clamp(parameter.choices[static_cast<std::size_t>(selection.index)]);
    parameter.current = value;
    parameter.save();
    if (&parameter == &p.MATCHING_DEPTH && value > old) g_noMatchClearRequest.exchange(true);
    if (&parameter == &p.RANGE) gf_setRangeNm(value);
    if (&parameter == &p.MAX_LIVE_SEL) gf_requestLiveLimit(value);
    return true;
}

bool lf_onMaxFit(const ComboSelection& selection) {
    ParameterCatalogue& p = g_parameters();
    if (selection.index < 0 || static_cast<std::size_t>(selection.index) >= p.MAX_FIT_FL.choices.size())
        return false;
    const float hours = p.MAX_FIT_FL.choices[static_cast<std::size_t>(selection.index)];
    p.MAX_FIT_FL.current = hours;
    p.MAX_FIT.current = p.MAX_FIT.clamp(static_cast<std::int32_t>(std::lround(2.0f * hours)) - 1);
    p.MAX_FIT.save();
    return true;
}

}  // namespace

std::optional<ComboSelection> lf_getComboSelection(HWND hwnd, std::uint16_t id, WPARAM wParam) {
    if (LOWORD(wParam) != id || HIWORD(wParam) != CBN_SELCHANGE) return std::nullopt;
    HWND combo = GetDlgItem(hwnd, id);
    if (combo == nullptr) return std::nullopt;
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::nullopt;
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length < 0) return std::nullopt;
    // Sized by the item itself: a live callsign has no length limit.
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT read =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (read != length) return std::nullopt;
    text.resize(static_cast<std::size_t>(read));
    return ComboSelection{static_cast<int>(index), wide_to_utf8(text)};
}

bool lf_onComboChange(HWND hwnd, WPARAM wParam) {
    ParameterCatalogue& p = g_parameters();
    auto selectionOf = [&](const ControlBinding& binding) {
        return lf_getComboSelection(hwnd, binding.controlId, wParam);
    };
    if (auto s = selectionOf(p.SIM_CHOICE)) {
        lf_onSimChoice(*s);
        return true;
    }
    if (auto s = selectionOf(p.AI_PACKAGE_SELECTOR)) {
        lf_onPackageSelector(*s);
        return true;
    }
    if (auto s = selectionOf(p.CALLSIGN_2_OBJECTID)) {
        lf_onCallsignChoice(hwnd, *s);
        return true;
    }
    for (IntComboParameter* combo : {&p.MATCHING_DEPTH, &p.MAX_PARK_SEL, &p.parking_percentage, &p.RANGE,
                                     &p.AIRP_RANGE, &p.AR_ABOVE_HEIGHT, &p.AIRP_HEIGHT, &p.MAX_LIVE_SEL}) {
        if (auto s = selectionOf(*combo)) return lf_onIntChoice(*combo, *s);
    }
    if (auto s = selectionOf(p.MAX_FIT_FL)) return lf_onMaxFit(*s);
    return false;
}

}  // namespace mrw

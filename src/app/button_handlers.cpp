#include "app/button_handlers.h"

#include <fmt/format.h>

#include <filesystem>

#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/message_line.h"
#include "foundation/text_helpers.h"
#include "platform/system/message_box.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/parking/parking_controls.h"
#include "traffic/parking/static_parking.h"

namespace mrw {

namespace {

void lf_onUnblock() {
    ParameterCatalogue& p = g_parameters();
    if (p.BLOCK_CALLSIGN.current.empty()) {
        gf_setMessage("Nothing to block or unblock...", false);
    } else {
        lf_unblockCallsign();
    }
    gf_enableControl(p.blockButton, !p.CALLSIGN_2_OBJECTID.current.empty());
}

void lf_onBlock() {
    ParameterCatalogue& p = g_parameters();
    lf_blockSelectedCallsign(p.CALLSIGN_2_OBJECTID.current.get());
    gf_clearSelectedAc();
    gf_enableControl(p.blockButton, false);
}

void lf_onNow() {
    if (!g_parkFileLoaded) return;
    if (g_parameters().INITIAL_LOAD_ONLY.current) {
        gf_clearMessage();
        return;
    }
    lf_announceParkingUpdate();
    g_parkingCountdown = 20;
    g_mainWindow().minutesToParkingUpdate = 20;
    gf_invalidateControlPanel();
}

bool lf_onTbloZip() {
    if (gf_openContainingFolder(std::filesystem::current_path() / g_tbloZipFile)) return true;
    platform::showWarningMessageBox("Could not open File Explorer at tblo.zip.", "MRWV");
    return false;
}

}  // namespace

bool lf_onButton(HWND /*hwnd*/, std::uint16_t id) {
    ParameterCatalogue& p = g_parameters();
    if (id == p.unblockButton.controlId) {
        lf_onUnblock();
    } else if (id == p.csToOidButton.controlId) {
        g_csToOidRequest.exchange(true);
        gf_enableControl(p.blockButton, false);
    } else if (id == p.blockButton.controlId) {
        lf_onBlock();
    } else if (id == p.rereadButton.controlId) {
        g_rereadRequest.exchange(true);
        gf_enableControl(p.rereadButton, false);
        gf_enableControl(p.DESTINATION, false);
    } else if (id == p.flushStaticButton.controlId) {
        gf_setMessage("All static parked aircraft will be removed ...", false);
        g_flushStaticRequest.exchange(true);
        gf_enableControl(p.flushStaticButton, false);
    } else if (id == p.tbloZipButton.controlId) {
        return lf_onTbloZip();
    } else if (id == p.nowButton.controlId) {
        lf_onNow();
    } else {
        return false;
    }
    return true;
}

void lf_announceParkingUpdate() {
    gf_disableParkingControls();
    const std::int32_t seconds = g_runSeconds;
    const std::int32_t toNextDuty = 15 * (seconds / 15 + 1) - seconds;
    if (toNextDuty > 0) {
        gf_setMessage(fmt::format("{} will update static parking in {} second{} ...", kProductName,
                                  toNextDuty, gf_pluralS(toNextDuty)),
                      false);
    }
    g_parkingUpdateRequest.exchange(true);
}

void lf_unblockCallsign() {
    ParameterCatalogue& p = g_parameters();
    const std::string blocked = p.BLOCK_CALLSIGN.current.get();
    if (blocked.empty()) return;
    p.BLOCK_CALLSIGN.setAndSave("");
    gf_showStringParameter(p.BLOCK_CALLSIGN);
    gf_enableControl(p.unblockButton, false);
    gf_setMessage(fmt::format("no more blocking of live aircraft '{}'", blocked), true);
    g_blockCallsignRequest.exchange(true);
}

void lf_blockSelectedCallsign(const std::string& callsign) {
    ParameterCatalogue& p = g_parameters();
    p.BLOCK_CALLSIGN.setAndSave(callsign);
    gf_showStringParameter(p.BLOCK_CALLSIGN);
    gf_enableControl(p.unblockButton, true);
    g_blockCallsignRequest.exchange(true);
}

}  // namespace mrw

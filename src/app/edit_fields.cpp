#include "app/edit_fields.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>

#include "airports/airports_database.h"
#include "app/button_handlers.h"
#include "app/main_window.h"
#include "config/control_updates.h"
#include "config/packages_folder.h"
#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "foundation/fixed_code.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/model/selected_aircraft.h"
#include "traffic/parking/park_airports_list.h"

namespace fs = std::filesystem;

namespace mrw {

namespace {

// Written when the fields are created and read by their procedures, both on the UI thread.
std::map<std::uint16_t, WNDPROC>& lf_previousProcedures() {
    static std::map<std::uint16_t, WNDPROC> procedures;
    return procedures;
}

bool lf_lettersAndDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

std::string lf_upperCased(std::string text) {
    for (char& c : text)
        c = gf_toUpperChar(c);
    return text;
}

// A refused entry: the note (logged) and the field shows the parameter's value again.
void lf_refuse(const std::string& note, const ControlParameter& parameter) {
    gf_setMessage(note, true);
    gf_showStringParameter(parameter);
}

void lf_onBlockCallsignEnter() {
    ParameterCatalogue& p = g_parameters();
    gf_clearMessage();
    const std::optional<std::string> typed = lf_getTextFromId(p.BLOCK_CALLSIGN);
    if (!typed) return;
    if (typed->empty()) {
        lf_unblockCallsign();  // nothing when none is blocked
        return;
    }
    if (typed->size() < 4 || typed->size() > 8 || !lf_lettersAndDigits(*typed)) {
        lf_refuse(fmt::format("callsign '{}' is not valid", *typed), p.BLOCK_CALLSIGN);
        return;
    }
    const std::string callsign = lf_upperCased(*typed);
    if (p.BLOCK_CALLSIGN.current == callsign) {
        lf_refuse(fmt::format("callsign '{}' was already set ...", callsign), p.BLOCK_CALLSIGN);
        return;
    }
    if (p.CALLSIGN_2_OBJECTID.current == callsign) gf_clearSelectedAc();
    p.BLOCK_CALLSIGN.setAndSave(callsign);
    gf_showStringParameter(p.BLOCK_CALLSIGN);
    gf_enableControl(p.unblockButton, true);
    g_blockCallsignRequest.exchange(true);
}

void lf_onDestinationEnter() {
    ParameterCatalogue& p = g_parameters();
    gf_clearMessage();
    const std::optional<std::string> typed = lf_getTextFromId(p.DESTINATION);
    if (!typed) return;
    if (typed->empty()) {
        p.DESTINATION.setAndSave("");
        gf_enableControl(p.rereadButton, true);
        gf_setMessage("destination set to empty", true);
        return;
    }
    if (typed->size() != 4 || !lf_lettersAndDigits(*typed)) {
        lf_refuse(fmt::format("destination '{}' is not valid", *typed), p.DESTINATION);
        return;
    }
    const std::string code = lf_upperCased(*typed);
    if (p.DESTINATION.current == code) {
        lf_refuse(fmt::format("destination '{}' was already set ...", code), p.DESTINATION);
        return;
    }
    if (const Airport* airport = gf_findAirport(FixedCode<4>(code))) {
        lf_setDestination(code, airport->lalo());
    } else {
        lf_refuse(fmt::format("destination '{}' is unknown ...", code), p.DESTINATION);
    }
}

LRESULT lf_editSubclassProc(ControlParameter& parameter, HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam) {
    if (message != WM_CHAR || wParam != 13)
        return CallWindowProcW(gf_previousWndProc(parameter.controlId), hwnd, message, wParam, lParam);
    ParameterCatalogue& p = g_parameters();
    try {
        gf_clearMessage();
        if (&parameter == &p.BLOCK_CALLSIGN) {
            lf_onBlockCallsignEnter();
        } else if (&parameter == &p.DESTINATION) {
            lf_onDestinationEnter();
        } else if (&parameter == &p.ALL_INSTALL_PATH) {
            if (const auto typed = lf_getTextFromId(parameter))
                lf_checkInstallPath(gf_activeInstallPath(), *typed);
        } else {
            return CallWindowProcW(gf_previousWndProc(parameter.controlId), hwnd, message, wParam, lParam);
        }
    } catch (const std::exception& e) {
        const std::string text = fmt::format("{} exception: {}", "lf_editSubclassProc", e.what());
        gf_logError(text);
        gf_setMessage(text, false);
    }
    return 0;
}

}  // namespace

void gf_keepPreviousWndProc(std::uint16_t controlId, WNDPROC procedure) {
    lf_previousProcedures()[controlId] = procedure;
}

WNDPROC gf_previousWndProc(std::uint16_t controlId) {
    const auto found = lf_previousProcedures().find(controlId);
    return found == lf_previousProcedures().end() ? nullptr : found->second;
}

LRESULT lf_blockCallsignEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return lf_editSubclassProc(g_parameters().BLOCK_CALLSIGN, hwnd, message, wParam, lParam);
}

LRESULT lf_destinationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return lf_editSubclassProc(g_parameters().DESTINATION, hwnd, message, wParam, lParam);
}

LRESULT lf_installPathEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return lf_editSubclassProc(g_parameters().ALL_INSTALL_PATH, hwnd, message, wParam, lParam);
}

std::optional<std::string> lf_getTextFromId(const ControlBinding& field) {
    if (field.hwnd == nullptr || !IsWindow(field.hwnd)) {
        gf_logLine(fmt::format("GetDlgItem failed for ID {}", field.controlId));
        return std::nullopt;
    }
    const INT length = GetWindowTextLengthW(field.hwnd);
    if (length < 1) return std::string();
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const INT read = GetWindowTextW(field.hwnd, text.data(), length + 1);
    if (read <= 0) return std::nullopt;
    text.resize(static_cast<std::size_t>(read));
    try {
        return wide_to_utf8(text);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("{}: UTF-16 UTF-8 failed for id {}: {}", "lf_getTextFromId", field.controlId,
                                e.what()));
        return std::nullopt;
    }
}

void lf_setDestination(const std::string& code, Lalo position) {
    ParameterCatalogue& p = g_parameters();
    p.DESTINATION.setAndSave(code);
    gf_showStringParameter(p.DESTINATION);
    gf_setMessage(fmt::format("New destination: {}", code), true);
    gf_addParkAirport(FixedCode<4>(p.DESTINATION.current.get()), position);
    gf_enableControl(p.rereadButton, false);
}

void lf_checkInstallPath(StringParameter& installPath, const std::string& text) {
    gf_clearErrorMessage();  // a missing packages folder at start-up asks for the path here
    gf_clearMessage();
    if (text.empty()) {
        if (!installPath.current.empty()) installPath.setAndSave("");
        return;
    }
    const fs::path path = utf8_to_path(text);  // the typed text is UTF-8 on every platform
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        gf_setMessage(fmt::format("Cannot access install path '{}': {}", text, error.message()), true);
        return;
    }
    if (!fs::exists(status)) {
        gf_setMessage(fmt::format("This install path does not exist: {}", text), true);
        return;
    }
    // An entry "Community" of any kind counts.
    auto holdsCommunity = [](const fs::path& folder) {
        std::error_code ignored;
        return fs::exists(fs::symlink_status(folder / "Community", ignored));
    };
    if (path.filename() == "Community") {
        if (holdsCommunity(path.parent_path())) {
            installPath.setAndSave(path_to_utf8(path.parent_path()));
            lf_communityPathFound();
        } else {
            gf_setMessage("This path does not contain a valid Community folder (unexpected).", true);
        }
    } else if (holdsCommunity(path)) {
        installPath.setAndSave(text);
        lf_communityPathFound();
    } else {
        gf_setMessage("This path exists but is not a path to Community ...", true);
    }
}

void lf_communityPathFound() {
    g_packagesFolderFound = true;
    if (gf_restartForNewSettings(3)) {
        gf_setMessage(fmt::format("Community path found, {} will restart ...", kProductName), true);
    } else {
        // The run ends for good (the window closes, a new flight or version): no restart comes.
        gf_setMessage(fmt::format("Community path found, please start {} again", kProductName), true);
    }
}

}  // namespace mrw

#pragma once
// The panel's three edit fields: each is subclassed with a procedure that acts on Enter (a refused
// entry is reported on the message line and changes nothing), and the destination that the run
// start also applies.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "config/control_binding.h"
#include "foundation/lalo.h"
#include "platform/win32/win32_types.h"

namespace mrw {

class StringParameter;

// Raised when a packages folder typed in the install-path field was found; the run end, waiting for
// the close button after a failed start, takes it as a restart (NEW SETTINGS, 3 s).
inline std::atomic<bool> g_packagesFolderFound{false};

// The procedure that subclassing replaced in the field with the control id, kept when the field is
// created so that the subclass passes on what it does not handle; null for an unknown id.
void gf_keepPreviousWndProc(std::uint16_t controlId, WNDPROC procedure);
WNDPROC gf_previousWndProc(std::uint16_t controlId);

LRESULT lf_blockCallsignEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT lf_destinationEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT lf_installPathEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// The field's text in UTF-8, read from the field itself; empty when it is empty, nothing when it
// could not be read or converted.
std::optional<std::string> lf_getTextFromId(const ControlBinding& field);
// Stores and applies a destination: saved, shown, announced, made the first park airport; Re-read
// is disabled. Also called by the main worker at the run start.
void lf_setDestination(const std::string& code, Lalo position);
// Checks a typed packages folder for the install-path parameter and restarts the run with it.
void lf_checkInstallPath(StringParameter& installPath, const std::string& text);
// Announces a found packages folder and ends the run for a restart (NEW SETTINGS, 3 s), also one
// that waits after a SYSTEM ERROR; when the run ends for good, asks the user to start again.
void lf_communityPathFound();

}  // namespace mrw

#pragma once

namespace mrwtest {

// Every registered and unregistered setting's current value back at its default; PROGRAM_VERSION's
// default back to the empty text; the callsign choices back to the one empty text,
// none of them chosen; the stop and window-closing flags cleared.
void resetSettings();

}  // namespace mrwtest

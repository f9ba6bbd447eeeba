#pragma once
// The message line of the main window: a normal message that ages out, and a sticky error text
// that hides it and refuses new normal messages. Any thread may call these.

#include <string_view>

namespace mrw {

// Shows a normal message (an empty text clears it) unless an error text is shown; logs a
// non-empty text as a plain line when `log` is set.
void gf_setMessage(std::string_view text, bool log);
// Clears the normal message unless an error text is shown.
void gf_clearMessage();
// Shows the sticky error text and logs "Error {}".
void gf_setErrorMessage(std::string_view text);
// Empties the sticky error text and repaints the line: only for the events that end an error (a
// typed packages folder, the second phase of a parking update, the restart path of the run end).
void gf_clearErrorMessage();

}  // namespace mrw

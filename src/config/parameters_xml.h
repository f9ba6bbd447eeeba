#pragma once
// parameters.xml in the data directory: every registered setting between runs.
//
// The file is root/parameters/parameter elements with the attributes name and value; a file of the
// old format has parameters at the top, without root, and is read the same way. A save of one value
// rewrites an old-format file with every element it holds moved under a new root.
//
// Threads: the UI thread and the main worker both load, change and save the file. One mutex,
// g_parametersFileMutex(), serialises every load-change-save of the file, and every write goes to a
// temporary file renamed over parameters.xml, so a reader never sees a half-written file. No window
// message is sent while the mutex is held: the UI thread may be waiting for it in a save of its own,
// and a message sent to its controls would then wait for the UI thread for ever. The controls are
// refreshed after the file work. The log mutex comes after it in the lock order.
//
// The element form and its readers and appenders: parameter_elements.h.

#include <string_view>

#include <pugixml.hpp>

#include "config/parameter_elements.h"
#include "foundation/thread_safety.h"

namespace mrw {

// Loads every registered setting (clamping ints into their limits), adds the missing ones with their
// defaults, saves the document back and refreshes the controls. True when the file was missing,
// unparsable (kept first as parameters0.xml) or held no `parameters`, and defaults were written.
bool gf_loadParameters();
// Writes a new parameters.xml from all registries: defaults (PROGRAM_VERSION's default becoming
// the program version) or current values. No current value changes.
void gf_saveParameters(bool writeDefaults);
// Moves every top-level node of an old-format document (all but the declaration) under a new root.
void gf_wrapParametersRoot(pugi::xml_document& document);

// Reads parameters.xml into the document under the file's mutex; the library's result.
pugi::xml_parse_result gf_loadParametersDocument(pugi::xml_document& document);

// gf_logLine unless the run is stopping or the window closing.
void gf_logLineUnlessClosing(std::string_view text);

// The one lock of every load-change-save of parameters.xml (see above). Never destroyed.
Mutex& g_parametersFileMutex();

}  // namespace mrw

#pragma once
// Log.txt in the program folder: every thread writes whole lines to it under one mutex, each line
// flushed on its own. Lines written before gf_openLog are dropped.

#include <filesystem>
#include <fstream>
#include <string_view>

#include "foundation/thread_safety.h"

namespace mrw {

// The stream of Log.txt and its mutex. Both are created on first use and never destroyed, so a
// detached thread that logs during process exit never touches a destroyed object.
std::ofstream& g_logStream();
// The last lock of the program's lock order: no other lock is taken while it is held.
Mutex& g_logMutex();

void gf_logLine(std::string_view text);      // a plain line: information
void gf_logError(std::string_view text);     // "==> " + text: warnings and errors
void gf_logIndented(std::string_view text);  // ten blanks + text: continues the line before

// Keeps three older generations of Log.txt, opens it and writes the banner. Throws
// std::runtime_error "Failed to write file Log.txt" when it cannot be opened.
void gf_openLog();

// Copies the file to its one-older name ("0" before the last dot). A missing file is no failure.
bool gf_save1GenerationOf(const std::filesystem::path& path);
// Shifts the generations "00" -> "000", "0" -> "00", file -> "0" by copying.
bool gf_saveUpto3GenerationsOf(const std::filesystem::path& path);

}  // namespace mrw

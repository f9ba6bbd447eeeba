#pragma once
// The process command line in the Windows manner: one UTF-16 text, split by CommandLineToArgvW.
// The stand-ins' Linux entry point builds it from argv (standin::setCommandLine).

#include "platform/win32/win32_types.h"

#include <string>

using HLOCAL = void*;

// The command line of the process; empty until the entry point sets it.
LPWSTR GetCommandLineW();
// Splits a command line by the Windows rules (blanks separate, quotes group, backslashes escape a
// quote only when they precede one). The array and its texts are one allocation, freed by
// LocalFree. Null with a null count pointer.
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, INT* count);
HLOCAL LocalFree(HLOCAL memory);

namespace standin {

// Sets what GetCommandLineW returns.
void setCommandLine(std::u16string commandLine);
// One argument quoted for a command line so that CommandLineToArgvW gives it back unchanged.
std::u16string quoteArgument(std::u16string_view argument);

}  // namespace standin

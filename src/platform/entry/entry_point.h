#pragma once
// The GUI entry point that the program provides and the runtime's start-up code calls.
// C linkage: Windows' start-up code calls it by its C name.

#include "platform/win32/win32_types.h"

extern "C" INT wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, INT show);

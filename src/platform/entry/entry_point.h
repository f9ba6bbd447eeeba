#pragma once
// The GUI entry point that the program provides and the runtime's start-up code calls.

#include "platform/win32/win32_types.h"

INT wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, INT show);

#pragma once
// The process command line: GetCommandLineW, and CommandLineToArgvW from the shell.

#include "platform/win32/win32_types.h"

#include <shellapi.h>

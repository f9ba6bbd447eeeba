#pragma once
// Everything of our Win32 stand-in that product code uses: windows, messages, controls and GDI.

#include "platform/win32/command_line.h"
#include "platform/win32/gdi32.h"
#include "platform/win32/user32.h"
#include "platform/win32/win32_types.h"

#pragma once
// The real window system, GDI and command line, with the product's UTF-16 overloads.

#include "platform/win32/command_line.h"
#include "platform/win32/win32_types.h"

#pragma once
// The real window system and GDI, with the product's UTF-16 overloads.

#include "platform/win32/win32_types.h"

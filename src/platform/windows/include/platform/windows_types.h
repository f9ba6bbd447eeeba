#pragma once
// On Windows the basic types come from the platform's own headers (WIN32_LEAN_AND_MEAN, NOMINMAX
// and UNICODE are set for the whole build).

#include <windows.h>

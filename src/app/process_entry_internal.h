#pragma once
// The process entry's steps, for the tests.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/win32_types.h"

namespace mrw {

// The production mode that the arguments (the program name excluded) ask for: "--production" or
// "/production" on, "--no-production" or "/no-production" off, without regard to case; the last
// one wins. Empty when no such switch is present.
std::optional<bool> gf_productionSwitch(const std::vector<std::u16string>& arguments);

}  // namespace mrw

namespace mrw {

// Registers the main window's class under the name (the window procedure, icons, black background).
bool gf_registerWindowClass(HINSTANCE instance, LPCWSTR className);

}  // namespace mrw

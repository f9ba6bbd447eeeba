#pragma once
// UTF-8 text to the platform's wide text, for the Windows calls of the platform layer.

#include <string>
#include <string_view>

namespace platform {

std::wstring utf8ToWide(std::string_view text);

}  // namespace platform

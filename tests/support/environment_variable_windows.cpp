#include "support/environment_variable.h"

#include "foundation/text_encoding.h"

#include <stdlib.h>

#include <stdexcept>

namespace mrwtest {

namespace {

std::wstring lf_wide(const std::string& text) {
    const std::u16string utf16 = mrw::utf8_to_wide(text);
    return std::wstring(utf16.begin(), utf16.end());
}

}  // namespace

std::optional<std::string> environmentVariable(const std::string& name) {
    const wchar_t* value = _wgetenv(lf_wide(name).c_str());
    if (!value) return std::nullopt;
    const std::wstring wide(value);
    return mrw::wide_to_utf8(std::u16string(wide.begin(), wide.end()));
}

void setEnvironmentVariable(const std::string& name, const std::optional<std::string>& value) {
    // An empty value removes the variable: Windows' environment has no empty variables.
    if (_wputenv_s(lf_wide(name).c_str(), value ? lf_wide(*value).c_str() : L"") != 0)
        throw std::runtime_error("setEnvironmentVariable: cannot set " + name);
}

}  // namespace mrwtest

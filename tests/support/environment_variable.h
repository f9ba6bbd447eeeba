#pragma once
// The test process's environment as the product reads it, in UTF-8 text. Setting goes through the
// C runtime, so that both getenv and the platform's own reads see the new value.

#include <optional>
#include <string>

namespace mrwtest {

std::optional<std::string> environmentVariable(const std::string& name);

// A missing value removes the variable.
void setEnvironmentVariable(const std::string& name, const std::optional<std::string>& value);

}  // namespace mrwtest

#pragma once
// Sets or unsets environment variables for one test and restores them afterwards.

#include "support/environment_variable.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mrwtest {

class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            setEnvironmentVariable(it->first, it->second);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // A missing value unsets the variable.
    void set(const std::string& name, const std::optional<std::string>& value) {
        m_saved.emplace_back(name, environmentVariable(name));
        setEnvironmentVariable(name, value);
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace mrwtest

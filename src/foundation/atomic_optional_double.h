#pragma once
// An optional double shared between threads without a lock.

#include <atomic>
#include <cmath>
#include <limits>
#include <optional>

namespace mrw {

// An optional double that one thread sets and others read without a lock (NaN stands for none).
class AtomicOptionalDouble {
  public:
    std::optional<double> load() const {
        const double value = m_value.load();
        return std::isnan(value) ? std::nullopt : std::optional<double>(value);
    }
    void store(std::optional<double> value) { m_value = value.value_or(kNone); }
    void reset() { m_value = kNone; }

  private:
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    std::atomic<double> m_value{kNone};
};

}  // namespace mrw

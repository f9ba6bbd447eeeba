#pragma once
// The reader of RealTraffic's traffic datagrams (the Traffic Reader thread).

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace mrw {

// A reader's lamp in the main window.
enum class ReaderStatus : std::int32_t {
    Off = 0,
    Receiving = 1,
    NothingNew = 2,  // nothing new since the last check
    Stopped = 3,
};

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

class TrafficReader {
  public:
    // Time stamp (seconds since 1970, UTC) of the newest accepted traffic record; 0 until the first
    // record of the run. Written by the Traffic Reader thread, read by the traffic clock elsewhere.
    static inline std::atomic<double> trafficTime{0.0};
    // The park airport's altitude in feet while a park airport is set; written by the main worker.
    static inline AtomicOptionalDouble groundElevation;
};

}  // namespace mrw

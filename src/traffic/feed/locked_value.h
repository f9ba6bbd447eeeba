#pragma once
// A small value that one thread writes whole and other threads read whole: each access takes the
// value's own lock, so a reader never sees half of a write.

#include "foundation/thread_safety.h"

namespace mrw {

template <typename T>
class LockedValue {
  public:
    LockedValue() = default;
    explicit LockedValue(T value) : m_value(std::move(value)) {}
    LockedValue(const LockedValue&) = delete;
    LockedValue& operator=(const LockedValue&) = delete;

    T load() const {
        MutexLock lock(m_mutex);
        return m_value;
    }
    void store(T value) {
        MutexLock lock(m_mutex);
        m_value = std::move(value);
    }

  private:
    mutable Mutex m_mutex;
    T m_value GUARDED_BY(m_mutex){};
};

}  // namespace mrw

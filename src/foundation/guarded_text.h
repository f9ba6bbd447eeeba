#pragma once
// A text that several threads read and replace: every access takes the text's own mutex, and a
// reader always gets a whole copy, never a view into a text that another thread may be replacing.

#include <string>
#include <string_view>

#include "foundation/thread_safety.h"

namespace mrw {

class GuardedText {
  public:
    GuardedText() = default;
    explicit GuardedText(std::string text) : m_text(std::move(text)) {}
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    std::string get() const {
        MutexLock lock(m_mutex);
        return m_text;
    }
    void set(std::string text) {
        MutexLock lock(m_mutex);
        m_text = std::move(text);
    }
    bool empty() const {
        MutexLock lock(m_mutex);
        return m_text.empty();
    }
    bool operator==(std::string_view other) const {
        MutexLock lock(m_mutex);
        return m_text == other;
    }

  private:
    mutable Mutex m_mutex;
    std::string m_text GUARDED_BY(m_mutex);
};

}  // namespace mrw

#pragma once
// A text that several threads read and replace: every access takes the text's own mutex, and a
// reader always gets a whole copy, never a view into a text that another thread may be replacing.

#include <mutex>
#include <string>
#include <string_view>

namespace mrw {

class GuardedText {
  public:
    GuardedText() = default;
    explicit GuardedText(std::string text) : m_text(std::move(text)) {}
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    std::string get() const {
        std::lock_guard lock(m_mutex);
        return m_text;
    }
    void set(std::string text) {
        std::lock_guard lock(m_mutex);
        m_text = std::move(text);
    }
    bool empty() const {
        std::lock_guard lock(m_mutex);
        return m_text.empty();
    }
    bool operator==(std::string_view other) const {
        std::lock_guard lock(m_mutex);
        return m_text == other;
    }

  private:
    mutable std::mutex m_mutex;
    std::string m_text;
};

}  // namespace mrw

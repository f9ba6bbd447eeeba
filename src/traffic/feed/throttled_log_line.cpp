#include "traffic/feed/throttled_log_line.h"

#include <chrono>
#include <string>
#include <utility>

#include <fmt/format.h>

#include "foundation/log.h"

namespace mrw {

void ThrottledLogLine::write(std::string_view line, bool error) {
    std::int64_t heldBack = 0;
    {
        MutexLock lock(m_mutex);
        const SteadyTime now = gf_steadyNow();
        if (m_lastWritten && now - *m_lastWritten < std::chrono::seconds(1)) {
            ++m_heldBack;
            return;
        }
        m_lastWritten = now;
        heldBack = std::exchange(m_heldBack, 0);
    }
    const std::string text =
        heldBack == 0 ? std::string(line) : fmt::format("{} ({} more such lines left out)", line, heldBack);
    if (error) {
        gf_logError(text);
    } else {
        gf_logLine(text);
    }
}

void ThrottledLogLine::reset() {
    MutexLock lock(m_mutex);
    m_lastWritten.reset();
    m_heldBack = 0;
}

}  // namespace mrw

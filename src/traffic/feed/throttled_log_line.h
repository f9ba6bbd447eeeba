#pragma once
// A log line that a flood of bad input may repeat many times a second: written at most once a
// second (steady clock), the lines held back in between counted and their number added to the next
// line written, so that Log.txt stays small whatever arrives.

#include <cstdint>
#include <optional>
#include <string_view>

#include "foundation/clock.h"
#include "foundation/thread_safety.h"

namespace mrw {

class ThrottledLogLine {
  public:
    // Writes the line (an error line with "==> " when `error`) unless one was written less than a
    // second ago; then it is only counted.
    void write(std::string_view line, bool error = false);
    // Forgets the last line and the count: the next line is written.
    void reset();

  private:
    Mutex m_mutex;
    std::optional<SteadyTime> m_lastWritten GUARDED_BY(m_mutex);
    std::int64_t m_heldBack GUARDED_BY(m_mutex) = 0;
};

}  // namespace mrw

#include "foundation/clock.h"

#include <chrono>
#include <mutex>

namespace mrw {

namespace {

struct ClockSeam {
    std::mutex mutex;
    std::function<std::int64_t()> override;
};

ClockSeam& lf_seam() {
    static auto* seam = new ClockSeam();  // never destroyed: read by threads during process exit
    return *seam;
}

}  // namespace

std::int64_t gf_wallClockSeconds() {
    ClockSeam& seam = lf_seam();
    {
        std::lock_guard lock(seam.mutex);
        if (seam.override) return seam.override();
    }
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

void gf_setWallClockForTests(std::function<std::int64_t()> clock) {
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    seam.override = std::move(clock);
}

}  // namespace mrw

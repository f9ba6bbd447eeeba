#include "foundation/clock.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace mrw {

namespace {

// The state of one SteadyClockForTests; shared, so a thread still inside a sleep keeps it alive
// when the test object goes.
struct TestSteadyClock {
    SteadyClockForTests::Mode mode = SteadyClockForTests::Mode::Manual;
    SteadyTime now = SteadyClockForTests::steadyEpochForTests();
    std::vector<SteadyDuration> waits;
    SteadyClockForTests::SleepHook hook;
};

struct ClockSeam {
    std::mutex mutex;
    std::function<std::int64_t()> override;
    std::shared_ptr<TestSteadyClock> steady;  // null: the computer's steady clock
};

ClockSeam& lf_seam() {
    static auto* seam = new ClockSeam();  // never destroyed: read by threads during process exit
    return *seam;
}

void lf_realSleepUntil(SteadyTime deadline) {
    while (std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_until(deadline);
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

std::int64_t gf_wallClock100ns() {
    ClockSeam& seam = lf_seam();
    {
        std::lock_guard lock(seam.mutex);
        if (seam.override) return seam.override() * 10'000'000;
    }
    using namespace std::chrono;
    return duration_cast<duration<std::int64_t, std::ratio<1, 10'000'000>>>(
               system_clock::now().time_since_epoch())
        .count();
}

void gf_setWallClockForTests(std::function<std::int64_t()> clock) {
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    seam.override = std::move(clock);
}

SteadyTime gf_steadyNow() {
    ClockSeam& seam = lf_seam();
    {
        std::lock_guard lock(seam.mutex);
        if (seam.steady && seam.steady->mode == SteadyClockForTests::Mode::Manual) return seam.steady->now;
    }
    return std::chrono::steady_clock::now();
}

namespace {

// One wait: either until a deadline, or for a duration from now (recorded as asked, so a test
// in real mode sees exactly the duration the code asked for).
struct Wait {
    std::optional<SteadyTime> deadline;
    SteadyDuration duration{};

    SteadyTime deadlineFrom(SteadyTime now) const { return deadline ? *deadline : now + duration; }
    SteadyDuration recordedFrom(SteadyTime now) const { return deadline ? *deadline - now : duration; }
};

void lf_sleep(const Wait& wait) {
    ClockSeam& seam = lf_seam();
    std::unique_lock lock(seam.mutex);
    const std::shared_ptr<TestSteadyClock> test = seam.steady;
    if (!test || test->mode == SteadyClockForTests::Mode::Real) {
        const SteadyTime now = std::chrono::steady_clock::now();
        if (test) test->waits.push_back(wait.recordedFrom(now));
        lock.unlock();
        lf_realSleepUntil(wait.deadlineFrom(now));
        return;
    }
    const SteadyTime from = test->now;
    test->waits.push_back(wait.recordedFrom(from));
    test->now = std::max(from, wait.deadlineFrom(from));
    const SteadyTime to = test->now;
    const SteadyClockForTests::SleepHook hook = test->hook;
    lock.unlock();
    if (hook) hook(from, to);
}

}  // namespace

void gf_sleepUntil(SteadyTime deadline) {
    lf_sleep(Wait{deadline, {}});
}

void gf_sleepFor(SteadyDuration duration) {
    if (duration <= SteadyDuration::zero()) return;
    lf_sleep(Wait{std::nullopt, duration});
}

void gf_sleepMs(std::int64_t milliseconds) {
    if (milliseconds <= 0) return;
    gf_sleepFor(std::chrono::milliseconds(milliseconds));
}

SteadyClockForTests::SteadyClockForTests(Mode mode) {
    auto state = std::make_shared<TestSteadyClock>();
    state->mode = mode;
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    seam.steady = std::move(state);
}

SteadyClockForTests::~SteadyClockForTests() {
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    seam.steady.reset();
}

SteadyTime SteadyClockForTests::steadyEpochForTests() {
    return SteadyTime(std::chrono::hours(1000));
}

SteadyTime SteadyClockForTests::now() const {
    return gf_steadyNow();
}

void SteadyClockForTests::advance(SteadyDuration step) {
    if (step <= SteadyDuration::zero()) return;
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    if (seam.steady && seam.steady->mode == Mode::Manual) seam.steady->now += step;
}

void SteadyClockForTests::setSleepHook(SleepHook hook) {
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    if (seam.steady) seam.steady->hook = std::move(hook);
}

std::vector<SteadyDuration> SteadyClockForTests::waits() const {
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    return seam.steady ? seam.steady->waits : std::vector<SteadyDuration>{};
}

std::size_t SteadyClockForTests::waitCount(SteadyDuration duration) const {
    const std::vector<SteadyDuration> all = waits();
    return static_cast<std::size_t>(std::count(all.begin(), all.end(), duration));
}

void SteadyClockForTests::clearWaits() {
    ClockSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    if (seam.steady) seam.steady->waits.clear();
}

}  // namespace mrw

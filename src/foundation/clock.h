#pragma once
// The clocks of the program and its sleeps, behind seams so that tests can set "now" and run time
// forward without sleeping.
//
// Wall clock: gf_wallClockSeconds, replaced with gf_setWallClockForTests.
//
// Steady clock and sleeps: every wait of the program (the main loop's 10 ms deadline, the
// SimConnect client's 100 ms and 1 ms waits, the run start's and run end's waits) goes through
// gf_steadyNow and gf_sleepUntil / gf_sleepFor / gf_sleepMs, never through std::this_thread.
// While a SteadyClockForTests lives, they go to it instead of the computer's clock:
//
//   SteadyClockForTests clock;                  // manual: sleeps return at once
//   clock.advance(std::chrono::milliseconds(10));  // the test steps time itself
//   ... code under test sleeps 1 ms: now() moves on 1 ms, the wait is recorded ...
//   EXPECT_EQ(clock.waitCount(std::chrono::milliseconds(1)), 3u);
//
//   SteadyClockForTests recorder(SteadyClockForTests::Mode::Real);  // real time, waits recorded
//
// Manual mode: time starts at steadyEpochForTests() and moves only through advance() and the sleeps
// (each sleep moves it to its deadline when that lies ahead, then calls the sleep hook).
// Real mode: now() and the sleeps are the computer's; only the recording is added.
// One SteadyClockForTests at a time; it may be used from any thread.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace mrw {

// Seconds since 1970-01-01 00:00:00 UTC.
std::int64_t gf_wallClockSeconds();

// The same clock in 100 ns units since 1970 (the time stamps of parked aircraft); a replaced clock
// gives its whole seconds in these units.
std::int64_t gf_wallClock100ns();

// Replaces the wall clock (tests); an empty function restores the computer's clock.
void gf_setWallClockForTests(std::function<std::int64_t()> clock);

using SteadyTime = std::chrono::steady_clock::time_point;
using SteadyDuration = std::chrono::steady_clock::duration;

// Now on the steady clock.
SteadyTime gf_steadyNow();

// Sleeps until the steady clock reaches the deadline (returns at once for a past one). Spurious
// early wake-ups are slept again, so on return gf_steadyNow() >= deadline.
void gf_sleepUntil(SteadyTime deadline);

// Sleeps that long on the steady clock; zero or a negative duration returns at once (nothing is
// recorded then).
void gf_sleepFor(SteadyDuration duration);

// Sleeps that many milliseconds, measured on the steady clock; returns at once for 0 or less.
void gf_sleepMs(std::int64_t milliseconds);

class SteadyClockForTests {
  public:
    enum class Mode { Manual, Real };
    // Called after every sleep of manual mode, outside the seam's lock, with the time before and after
    // the sleep (for instance to step a simulated world by the same amount). It may call the seam.
    using SleepHook = std::function<void(SteadyTime from, SteadyTime to)>;

    explicit SteadyClockForTests(Mode mode = Mode::Manual);
    ~SteadyClockForTests();
    SteadyClockForTests(const SteadyClockForTests&) = delete;
    SteadyClockForTests& operator=(const SteadyClockForTests&) = delete;

    // The start of manual time.
    static SteadyTime steadyEpochForTests();

    SteadyTime now() const;
    // Manual mode: moves time on (a negative step is ignored). Real mode: does nothing.
    void advance(SteadyDuration step);
    void setSleepHook(SleepHook hook);

    // Every wait asked for, in order, from any thread: the duration given to gf_sleepFor/gf_sleepMs
    // (those of 0 or less return before the seam and are not recorded), or for gf_sleepUntil the
    // deadline minus now at the call (0 or less for a past deadline).
    std::vector<SteadyDuration> waits() const;
    // How many of them were exactly that long.
    std::size_t waitCount(SteadyDuration duration) const;
    void clearWaits();
};

}  // namespace mrw

#pragma once
// The system timer's resolution around the program's fine-grained loops. Linux sleeps are
// already fine-grained, so the calls only count themselves; a failure can be scripted for tests.
// A period of 0 is refused, as the multimedia timer refuses it.

namespace platform {

inline constexpr unsigned kTimerNoError = 0;   // TIMERR_NOERROR
inline constexpr unsigned kTimerNoCanDo = 97;  // TIMERR_NOCANDO

unsigned beginTimerPeriod(unsigned milliseconds);
unsigned endTimerPeriod(unsigned milliseconds);

// While it lives: counts the calls from zero and answers beginTimerPeriod with the scripted result.
class TimerPeriodRecorder {
  public:
    explicit TimerPeriodRecorder(unsigned beginResult = kTimerNoError);
    ~TimerPeriodRecorder();
    TimerPeriodRecorder(const TimerPeriodRecorder&) = delete;
    TimerPeriodRecorder& operator=(const TimerPeriodRecorder&) = delete;

    int begins() const;
    int ends() const;
};

}  // namespace platform

#include "platform/system/timer_period.h"

#include <atomic>

#include "platform/system/native_calls.h"

namespace platform {

namespace {

struct TimerJournal {
    std::atomic<bool> recording{false};
    std::atomic<unsigned> beginResult{kTimerNoError};
    std::atomic<int> begins{0};
    std::atomic<int> ends{0};
};

TimerJournal& lf_journal() {
    static auto* journal = new TimerJournal();  // never destroyed: callable from any thread
    return *journal;
}

}  // namespace

unsigned beginTimerPeriod(unsigned milliseconds) {
    TimerJournal& journal = lf_journal();
    if (milliseconds == 0) return kTimerNoCanDo;
    ++journal.begins;
    return journal.recording ? journal.beginResult.load() : native::beginTimerPeriod(milliseconds);
}

unsigned endTimerPeriod(unsigned milliseconds) {
    TimerJournal& journal = lf_journal();
    if (milliseconds == 0) return kTimerNoCanDo;
    ++journal.ends;
    return journal.recording ? kTimerNoError : native::endTimerPeriod(milliseconds);
}

TimerPeriodRecorder::TimerPeriodRecorder(unsigned beginResult) {
    TimerJournal& journal = lf_journal();
    journal.begins = 0;
    journal.ends = 0;
    journal.beginResult = beginResult;
    journal.recording = true;
}

TimerPeriodRecorder::~TimerPeriodRecorder() {
    TimerJournal& journal = lf_journal();
    journal.beginResult = kTimerNoError;
    journal.recording = false;
}

int TimerPeriodRecorder::begins() const {
    return lf_journal().begins.load();
}

int TimerPeriodRecorder::ends() const {
    return lf_journal().ends.load();
}

}  // namespace platform

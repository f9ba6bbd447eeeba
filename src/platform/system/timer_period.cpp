#include "platform/system/timer_period.h"

#include <atomic>

namespace platform {

namespace {

struct TimerJournal {
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
    return journal.beginResult.load();
}

unsigned endTimerPeriod(unsigned milliseconds) {
    TimerJournal& journal = lf_journal();
    if (milliseconds == 0) return kTimerNoCanDo;
    ++journal.ends;
    return kTimerNoError;
}

TimerPeriodRecorder::TimerPeriodRecorder(unsigned beginResult) {
    TimerJournal& journal = lf_journal();
    journal.begins = 0;
    journal.ends = 0;
    journal.beginResult = beginResult;
}

TimerPeriodRecorder::~TimerPeriodRecorder() {
    TimerJournal& journal = lf_journal();
    journal.beginResult = kTimerNoError;
}

int TimerPeriodRecorder::begins() const {
    return lf_journal().begins.load();
}

int TimerPeriodRecorder::ends() const {
    return lf_journal().ends.load();
}

}  // namespace platform

#include "platform/system/message_box.h"

#include <mutex>

#include "platform/system/native_calls.h"

namespace platform {

namespace {

struct MessageBoxJournal {
    std::mutex mutex;
    bool recording = false;
    std::vector<MessageBoxRecord> shown;
};

MessageBoxJournal& lf_journal() {
    static auto* journal = new MessageBoxJournal();  // never destroyed: callable from any thread
    return *journal;
}

}  // namespace

int showWarningMessageBox(std::string_view text, std::string_view caption) {
    MessageBoxJournal& journal = lf_journal();
    {
        std::lock_guard lock(journal.mutex);
        if (journal.recording) {
            journal.shown.push_back(MessageBoxRecord{std::string(text), std::string(caption)});
            return kMessageBoxOk;
        }
    }
    // Not under the lock: a real message box waits for the user.
    return native::showWarningMessageBox(text, caption);
}

MessageBoxRecorder::MessageBoxRecorder() {
    MessageBoxJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.recording = true;
    journal.shown.clear();
}

MessageBoxRecorder::~MessageBoxRecorder() {
    MessageBoxJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.recording = false;
    journal.shown.clear();
}

std::vector<MessageBoxRecord> MessageBoxRecorder::shown() const {
    MessageBoxJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    return journal.shown;
}

}  // namespace platform

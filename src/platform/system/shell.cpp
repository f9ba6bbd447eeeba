#include "platform/system/shell.h"

#include <mutex>

#include "platform/system/native_calls.h"

namespace platform {

namespace {

struct ShellJournal {
    std::mutex mutex;
    bool recording = false;
    int result = kOpenFolderSuccess;
    std::vector<std::filesystem::path> folders;
};

ShellJournal& lf_journal() {
    static auto* journal = new ShellJournal();  // never destroyed: callable from any thread at exit
    return *journal;
}

}  // namespace

int openFolder(const std::filesystem::path& folder) {
    ShellJournal& journal = lf_journal();
    {
        std::lock_guard lock(journal.mutex);
        if (journal.recording) {
            journal.folders.push_back(folder);
            return journal.result;
        }
    }
    return native::openFolder(folder);
}

ShellRecorder::ShellRecorder(int result) {
    ShellJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.recording = true;
    journal.result = result;
    journal.folders.clear();
}

ShellRecorder::~ShellRecorder() {
    ShellJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.recording = false;
    journal.result = kOpenFolderSuccess;
    journal.folders.clear();
}

void ShellRecorder::setResult(int result) {
    ShellJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    journal.result = result;
}

std::vector<std::filesystem::path> ShellRecorder::openedFolders() const {
    ShellJournal& journal = lf_journal();
    std::lock_guard lock(journal.mutex);
    return journal.folders;
}

}  // namespace platform

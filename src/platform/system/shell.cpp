#include "platform/system/shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>

extern char** environ;

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

bool lf_hasDesktop() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

int lf_spawnOpener(const std::filesystem::path& folder) {
    std::string program = "xdg-open";
    std::string argument = folder.string();
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return kOpenFolderNotFound;
    // The opener hands over to the file manager and exits; reap it on a thread of its own.
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    return kOpenFolderSuccess;
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
    if (!lf_hasDesktop()) {
        std::cerr << "openFolder (no desktop): " << folder.string() << '\n';
        return kOpenFolderSuccess;
    }
    return lf_spawnOpener(folder);
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

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "platform/system/native_calls.h"
#include "platform/system/shell.h"

extern char** environ;

namespace platform::native {

namespace {

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
    if (!lf_hasDesktop()) {
        std::cerr << "openFolder (no desktop): " << folder.string() << '\n';
        return kOpenFolderSuccess;
    }
    return lf_spawnOpener(folder);
}

}  // namespace platform::native

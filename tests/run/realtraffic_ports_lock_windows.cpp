// RealTrafficPortsLock with LockFileEx: released when the handle closes, also when the process dies.
// Under Wine the lock file is in the Linux machine's /tmp (drive Z: is the Linux root), where the
// Linux builds' test programs lock it too: Wine keeps a file lock as a record lock on the Linux file,
// so builds with other Wine prefixes and the Linux builds are held off as well. Wine does not wait
// for a lock that another prefix or a Linux process holds, so the lock is tried until it is free.
#include <windows.h>

#include <gtest/gtest.h>

#include <system_error>

#include "run/run_test_support.h"

namespace mrwtest {

namespace {

std::filesystem::path realTrafficPortsLockFile() {
    const std::filesystem::path linuxTemporary = "Z:\\tmp";
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::is_directory(linuxTemporary, error)
                                             ? linuxTemporary
                                             : std::filesystem::temp_directory_path();
    return folder / "mrwtest-realtraffic-ports.lock";
}

}  // namespace

struct RealTrafficPortsLock::Held {
    HANDLE file = INVALID_HANDLE_VALUE;
};

RealTrafficPortsLock::RealTrafficPortsLock() : m_held(std::make_unique<Held>()) {
    const std::filesystem::path file = realTrafficPortsLockFile();
    m_held->file = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(m_held->file, INVALID_HANDLE_VALUE) << file;
    if (m_held->file == INVALID_HANDLE_VALUE) return;
    for (;;) {
        OVERLAPPED whole{};
        if (LockFileEx(m_held->file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole))
            return;
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            ADD_FAILURE() << "LockFileEx failed with error " << error;
            return;
        }
        Sleep(200);
    }
}

RealTrafficPortsLock::~RealTrafficPortsLock() {
    if (m_held->file != INVALID_HANDLE_VALUE) CloseHandle(m_held->file);
}

}  // namespace mrwtest

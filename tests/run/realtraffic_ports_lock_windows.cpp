// RealTrafficPortsLock with LockFileEx: released when the handle closes, also when the process dies.
#include <windows.h>

#include <gtest/gtest.h>

#include "run/run_test_support.h"

namespace mrwtest {

struct RealTrafficPortsLock::Held {
    HANDLE file = INVALID_HANDLE_VALUE;
};

RealTrafficPortsLock::RealTrafficPortsLock() : m_held(std::make_unique<Held>()) {
    const std::filesystem::path file = realTrafficPortsLockFile();
    m_held->file = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(m_held->file, INVALID_HANDLE_VALUE) << file;
    if (m_held->file != INVALID_HANDLE_VALUE) {
        OVERLAPPED whole{};
        EXPECT_TRUE(LockFileEx(m_held->file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &whole));
    }
}

RealTrafficPortsLock::~RealTrafficPortsLock() {
    if (m_held->file != INVALID_HANDLE_VALUE) CloseHandle(m_held->file);
}

}  // namespace mrwtest

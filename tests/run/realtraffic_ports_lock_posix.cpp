// RealTrafficPortsLock with flock: released when the descriptor closes, also when the process dies.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "run/run_test_support.h"

namespace mrwtest {

struct RealTrafficPortsLock::Held {
    int fd = -1;
};

RealTrafficPortsLock::RealTrafficPortsLock() : m_held(std::make_unique<Held>()) {
    const std::filesystem::path file = realTrafficPortsLockFile();
    m_held->fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    EXPECT_GE(m_held->fd, 0) << file;
    if (m_held->fd >= 0) {
        EXPECT_EQ(::flock(m_held->fd, LOCK_EX), 0);
    }
}

RealTrafficPortsLock::~RealTrafficPortsLock() {
    if (m_held->fd >= 0) ::close(m_held->fd);
}

}  // namespace mrwtest

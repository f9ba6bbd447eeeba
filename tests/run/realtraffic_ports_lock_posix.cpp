// RealTrafficPortsLock with an open-file-description record lock (fcntl): released when the
// descriptor closes, also when the process dies. A record lock, not flock: Wine's file locks are
// record locks on the same file, so the Windows builds' test programs under Wine and the Linux
// builds' exclude each other.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "run/run_test_support.h"

namespace mrwtest {

namespace {

std::filesystem::path realTrafficPortsLockFile() {
    return "/tmp/mrwtest-realtraffic-ports.lock";
}

}  // namespace

struct RealTrafficPortsLock::Held {
    int fd = -1;
};

RealTrafficPortsLock::RealTrafficPortsLock() : m_held(std::make_unique<Held>()) {
    const std::filesystem::path file = realTrafficPortsLockFile();
    m_held->fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    EXPECT_GE(m_held->fd, 0) << file;
    if (m_held->fd < 0) return;
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;  // from the start, l_len 0: the whole file
    int result = 0;
    do {
        result = ::fcntl(m_held->fd, F_OFD_SETLKW, &whole);
    } while (result != 0 && errno == EINTR);
    EXPECT_EQ(result, 0) << errno;
}

RealTrafficPortsLock::~RealTrafficPortsLock() {
    if (m_held->fd >= 0) ::close(m_held->fd);
}

}  // namespace mrwtest

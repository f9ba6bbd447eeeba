#include "platform/system/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform {

SingleInstanceLock::SingleInstanceLock(std::string_view name, const std::filesystem::path& directory) {
    std::filesystem::path file = directory / (std::string(name) + ".lock");
    m_fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) return;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = InstanceLock::Acquired;
        return;
    }
    m_state = errno == EWOULDBLOCK ? InstanceLock::AlreadyRunning : InstanceLock::Unavailable;
    ::close(m_fd);
    m_fd = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd >= 0) ::close(m_fd);
}

std::filesystem::path SingleInstanceLock::defaultDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') return runtime;
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : temporary;
}

}  // namespace platform

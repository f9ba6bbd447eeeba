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
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_state = InstanceLock::Acquired;
        m_native = fd;
        return;
    }
    m_state = errno == EWOULDBLOCK ? InstanceLock::AlreadyRunning : InstanceLock::Unavailable;
    ::close(fd);
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_native >= 0) ::close(static_cast<int>(m_native));
}

std::filesystem::path SingleInstanceLock::defaultDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') return runtime;
    std::error_code error;
    std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path("/tmp") : temporary;
}

}  // namespace platform

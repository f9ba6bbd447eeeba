#include <fcntl.h>
#include <unistd.h>

#include "platform/system/native_calls.h"

namespace platform::native {

bool tryWriteInFolder(const std::filesystem::path& folder) {
    std::filesystem::path file = folder / ".write_test.tmp";
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::unlink(file.c_str());  // the file goes away with its last descriptor, like delete-on-close
    const char zero = 0;
    bool written = ::write(fd, &zero, 1) == 1;
    bool closed = ::close(fd) == 0;
    return written && closed;
}

}  // namespace platform::native

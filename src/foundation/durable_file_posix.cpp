#include "foundation/durable_file.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace mrw {

namespace fs = std::filesystem;

namespace {

// Best effort: a folder that cannot be opened or flushed leaves the rename to the file system.
void lf_syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool gf_writeDurably(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) done += static_cast<std::size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

bool gf_renameDurably(const fs::path& from, const fs::path& target) {
    std::error_code ec;
    fs::rename(from, target, ec);
    if (ec) return false;
    // The rename itself reaches the disk with the folder's entries.
    lf_syncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
    return true;
}

unsigned long gf_processId() {
    return static_cast<unsigned long>(::getpid());
}

}  // namespace mrw

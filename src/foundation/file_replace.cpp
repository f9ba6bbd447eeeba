#include "foundation/file_replace.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace mrw {

namespace fs = std::filesystem;

namespace {

// Writes the bytes and flushes them to the disk before the file may be renamed over a target: after
// a power cut the new name must never stand for a file without its content.
bool lf_writeDurably(const fs::path& path, std::string_view bytes) {
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

// Best effort: a folder that cannot be opened or flushed leaves the rename to the file system.
void lf_syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

fs::path gf_temporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    fs::path tmp = target;
    tmp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
    return tmp;
}

bool gf_replaceFile(const fs::path& target, std::string_view bytes) {
    const fs::path tmp = gf_temporarySibling(target);
    if (!lf_writeDurably(tmp, bytes)) {
        std::error_code ec;
        fs::remove(tmp, ec);
        return false;
    }
    std::error_code ec;
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return false;
    }
    // The rename itself reaches the disk with the folder's entries.
    lf_syncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
    return true;
}

}  // namespace mrw

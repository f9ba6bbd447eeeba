#include "platform/system/write_test.h"

#include <fcntl.h>
#include <unistd.h>

#include <mutex>

namespace platform {

namespace {

struct WriteTestSeam {
    std::mutex mutex;
    std::function<bool(const std::filesystem::path&)> answer;
};

WriteTestSeam& lf_seam() {
    static auto* seam = new WriteTestSeam();  // never destroyed: callable from any thread at exit
    return *seam;
}

bool lf_tryWrite(const std::filesystem::path& folder) {
    std::filesystem::path file = folder / ".write_test.tmp";
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    ::unlink(file.c_str());  // the file goes away with its last descriptor, like delete-on-close
    const char zero = 0;
    bool written = ::write(fd, &zero, 1) == 1;
    bool closed = ::close(fd) == 0;
    return written && closed;
}

}  // namespace

bool canWriteInFolder(const std::filesystem::path& folder) {
    std::function<bool(const std::filesystem::path&)> answer;
    {
        WriteTestSeam& seam = lf_seam();
        std::lock_guard lock(seam.mutex);
        answer = seam.answer;
    }
    return answer ? answer(folder) : lf_tryWrite(folder);
}

ScopedWriteTestOverride::ScopedWriteTestOverride(std::function<bool(const std::filesystem::path&)> answer) {
    WriteTestSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    seam.answer = std::move(answer);
}

ScopedWriteTestOverride::~ScopedWriteTestOverride() {
    WriteTestSeam& seam = lf_seam();
    std::lock_guard lock(seam.mutex);
    seam.answer = nullptr;
}

}  // namespace platform

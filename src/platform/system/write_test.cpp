#include "platform/system/write_test.h"

#include <mutex>

#include "platform/system/native_calls.h"

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

}  // namespace

bool canWriteInFolder(const std::filesystem::path& folder) {
    std::function<bool(const std::filesystem::path&)> answer;
    {
        WriteTestSeam& seam = lf_seam();
        std::lock_guard lock(seam.mutex);
        answer = seam.answer;
    }
    return answer ? answer(folder) : native::tryWriteInFolder(folder);
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

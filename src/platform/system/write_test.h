#pragma once
// Can a file be created and written in a folder? Tested with a temporary file that is gone
// before the call returns.

#include <filesystem>
#include <functional>

namespace platform {

// Creates `<folder>/.write_test.tmp`, removes its name at once, writes one zero byte, closes.
// True when all of that worked.
bool canWriteInFolder(const std::filesystem::path& folder);

// Test seam (root ignores permission bits): while it lives, canWriteInFolder asks `answer`.
class ScopedWriteTestOverride {
  public:
    explicit ScopedWriteTestOverride(std::function<bool(const std::filesystem::path&)> answer);
    ~ScopedWriteTestOverride();
    ScopedWriteTestOverride(const ScopedWriteTestOverride&) = delete;
    ScopedWriteTestOverride& operator=(const ScopedWriteTestOverride&) = delete;
};

}  // namespace platform

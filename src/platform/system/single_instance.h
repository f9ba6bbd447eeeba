#pragma once
// The single-instance guard, kept for the life of the object (the program keeps its one object to
// the end of the process; the system frees it at exit): on Linux an exclusive flock on a lock file,
// on Windows the named mutex "Local\\$<name>$".

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace platform {

enum class InstanceLock {
    Acquired,        // this is the only instance
    AlreadyRunning,  // another instance (or another lock object in this process) holds it
    Unavailable,     // the lock file could not be opened: no guard, but no other instance known
};

class SingleInstanceLock {
  public:
    // Locks `<directory>/<name>.lock`; the default directory is $XDG_RUNTIME_DIR, else the
    // system's temporary folder. Windows' mutex has no folder: it ignores `directory`.
    explicit SingleInstanceLock(std::string_view name,
                                const std::filesystem::path& directory = defaultDirectory());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    InstanceLock state() const { return m_state; }
    static std::filesystem::path defaultDirectory();

  private:
    std::intptr_t m_native = -1;  // the lock file's descriptor; on Windows the mutex handle
    InstanceLock m_state = InstanceLock::Unavailable;
};

}  // namespace platform

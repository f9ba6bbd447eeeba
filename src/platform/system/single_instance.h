#pragma once
// The single-instance guard: an exclusive flock on a lock file, kept for the life of the object
// (the program keeps its one object to the end of the process; the kernel frees the lock at exit).

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
    // system's temporary folder.
    explicit SingleInstanceLock(std::string_view name,
                                const std::filesystem::path& directory = defaultDirectory());
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    InstanceLock state() const { return m_state; }
    static std::filesystem::path defaultDirectory();

  private:
    int m_fd = -1;
    InstanceLock m_state = InstanceLock::Unavailable;
};

}  // namespace platform

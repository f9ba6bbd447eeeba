#pragma once
// Opening a folder in the desktop's file manager, and its test seam.

#include <filesystem>
#include <vector>

namespace platform {

// Results in the manner of ShellExecute: above 32 is success.
inline constexpr int kOpenFolderSuccess = 33;
inline constexpr int kOpenFolderNotFound = 2;  // the opener program is missing

// Opens the folder with xdg-open (not waited for). While a ShellRecorder lives, or when there
// is no desktop (neither DISPLAY nor WAYLAND_DISPLAY), nothing is spawned: the call is recorded
// and the scripted result returned (success unless a recorder says otherwise).
int openFolder(const std::filesystem::path& folder);

// Test seam: records every openFolder call while it lives. One at a time per process.
class ShellRecorder {
  public:
    explicit ShellRecorder(int result = kOpenFolderSuccess);
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    void setResult(int result);
    std::vector<std::filesystem::path> openedFolders() const;
};

}  // namespace platform

#pragma once
// Shared helpers of the test programs: temporary folders, switching the working folder,
// reading whole files.

#include <filesystem>
#include <string>
#include <vector>

namespace mrwtest {

// A fresh folder below the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& rel) const { return m_path / rel; }

  private:
    std::filesystem::path m_path;
};

// Makes a folder the working folder (the program folder) for its lifetime.
class ScopedChdir {
  public:
    explicit ScopedChdir(const std::filesystem::path& dir);
    ~ScopedChdir();
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

  private:
    std::filesystem::path m_previous;
};

// A temporary program folder that is the working folder while the object lives.
class ProgramFolder {
  public:
    ProgramFolder() : m_chdir(m_dir.path()) {}
    const std::filesystem::path& path() const { return m_dir.path(); }
    std::filesystem::path operator/(const std::filesystem::path& rel) const { return m_dir / rel; }

  private:
    TempDir m_dir;
    ScopedChdir m_chdir;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);
std::vector<std::string> readLines(const std::filesystem::path& path);
// A path written with '/' as the platform writes it in texts: unchanged on Linux, '\\' on Windows.
std::string nativePath(std::string_view generic);
// The bytes a text-mode write of `text` leaves in a file: the text itself on Linux, each LF as
// CR LF on Windows.
std::string asTextFileBytes(std::string_view text);

}  // namespace mrwtest

#pragma once
// A small RAII layer over libzip's C API: read entries of an archive by name into memory, list and
// extract them, and create an archive from entries held in memory. Every failure throws
// std::runtime_error with libzip's error text and the archive's path.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace mrw {

class ZipArchive {
  public:
    // Opens an existing archive for reading.
    static ZipArchive openForReading(const std::filesystem::path& path);
    // Starts a new archive at the path; it is written by close(), replacing a file that is there.
    static ZipArchive create(const std::filesystem::path& path);

    // An archive that was not closed is discarded: nothing is written.
    ~ZipArchive();
    ZipArchive(ZipArchive&&) noexcept;
    ZipArchive& operator=(ZipArchive&&) noexcept;

    // The names of all entries, in the archive's order.
    std::vector<std::string> entryNames() const;
    // The entry's bytes; nothing when there is no entry of that name. An entry of more than
    // `maxBytes` (declared or read), or a damaged one, throws. The buffer grows as bytes arrive, so a
    // small archive that declares a huge entry costs no more than it holds.
    std::optional<std::string> read(std::string_view name, std::size_t maxBytes) const;
    // Writes the entry (at most `maxBytes`) to the file, whole, through a temporary sibling. Throws
    // when the entry is missing, too large or damaged, or the file cannot be written.
    void extract(std::string_view name, const std::filesystem::path& target, std::size_t maxBytes) const;

    // Adds (or replaces) an entry with a copy of the bytes.
    void add(std::string_view name, std::string_view bytes);
    // Writes a created or changed archive and closes it. Throws when writing fails.
    void close();

  private:
    struct Closer {
        void operator()(zip* archive) const;
    };
    ZipArchive(zip* archive, std::filesystem::path path);
    [[noreturn]] void fail(std::string_view what) const;
    zip* handle() const;

    std::unique_ptr<zip, Closer> m_archive;
    std::filesystem::path m_path;
};

}  // namespace mrw

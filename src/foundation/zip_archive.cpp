#include "foundation/zip_archive.h"

#include "foundation/file_replace.h"
#include "foundation/text_encoding.h"

#include <fmt/format.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

namespace mrw {

namespace fs = std::filesystem;

namespace {

zip* lf_open(const fs::path& path, int flags) {
    int code = 0;
    // libzip takes UTF-8 file names on every platform.
    zip* archive = zip_open(path_to_utf8(path).c_str(), flags, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string text = zip_error_strerror(&error);
        zip_error_fini(&error);
        throw std::runtime_error(fmt::format("Zip archive {}: {}", path_to_utf8(path), text));
    }
    return archive;
}

}  // namespace

void ZipArchive::Closer::operator()(zip* archive) const {
    zip_discard(archive);
}

ZipArchive::ZipArchive(zip* archive, fs::path path) : m_archive(archive), m_path(std::move(path)) {}
ZipArchive::~ZipArchive() = default;
ZipArchive::ZipArchive(ZipArchive&&) noexcept = default;
ZipArchive& ZipArchive::operator=(ZipArchive&&) noexcept = default;

ZipArchive ZipArchive::openForReading(const fs::path& path) {
    return ZipArchive(lf_open(path, ZIP_RDONLY), path);
}

ZipArchive ZipArchive::create(const fs::path& path) {
    return ZipArchive(lf_open(path, ZIP_CREATE | ZIP_TRUNCATE), path);
}

zip* ZipArchive::handle() const {
    if (!m_archive)
        throw std::runtime_error(fmt::format("Zip archive {}: already closed", path_to_utf8(m_path)));
    return m_archive.get();
}

void ZipArchive::fail(std::string_view what) const {
    throw std::runtime_error(
        fmt::format("Zip archive {}: {}: {}", path_to_utf8(m_path), what, zip_strerror(m_archive.get())));
}

std::vector<std::string> ZipArchive::entryNames() const {
    zip* archive = handle();
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        if (!name) fail("cannot read an entry name");
        names.emplace_back(name);
    }
    return names;
}

std::optional<std::string> ZipArchive::read(std::string_view name, std::size_t maxBytes) const {
    zip* archive = handle();
    const std::string entry(name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive, entry.c_str(), 0, &stat) != 0) return std::nullopt;
    const auto tooLarge = [&] {
        return std::runtime_error(fmt::format("Zip archive {}: entry {} is larger than {} bytes",
                                              path_to_utf8(m_path), entry, maxBytes));
    };
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > maxBytes) throw tooLarge();

    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen_index(archive, stat.index, 0),
                                                           zip_fclose);
    if (!file) fail(fmt::format("cannot open entry {}", entry));
    // Reading to the end makes libzip check the entry's size and checksum.
    std::string bytes;
    std::array<char, 65536> chunk;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), chunk.data(), chunk.size());
        if (got < 0) {
            throw std::runtime_error(fmt::format("Zip archive {}: entry {} is damaged: {}",
                                                 path_to_utf8(m_path), entry, zip_file_strerror(file.get())));
        }
        if (got == 0) break;
        if (static_cast<std::uint64_t>(got) > maxBytes - bytes.size()) throw tooLarge();
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
    // libzip checks the checksum, not the declared size: an entry that holds fewer bytes than it
    // declares is damaged too.
    if ((stat.valid & ZIP_STAT_SIZE) && bytes.size() != stat.size) {
        throw std::runtime_error(
            fmt::format("Zip archive {}: entry {} is damaged: {} bytes where {} were declared",
                        path_to_utf8(m_path), entry, bytes.size(), stat.size));
    }
    return bytes;
}

void ZipArchive::extract(std::string_view name, const fs::path& target, std::size_t maxBytes) const {
    const std::optional<std::string> bytes = read(name, maxBytes);
    if (!bytes)
        throw std::runtime_error(fmt::format("Zip archive {}: no entry {}", path_to_utf8(m_path), name));
    if (!gf_replaceFile(target, *bytes)) {
        throw std::runtime_error(fmt::format("Could not write output file: {}", path_to_utf8(target)));
    }
}

void ZipArchive::add(std::string_view name, std::string_view bytes) {
    zip* archive = handle();
    // libzip frees the copy with the source, when the archive is written or the add fails. An empty
    // entry needs no buffer (libzip would not free one of length 0).
    void* copy = nullptr;
    if (!bytes.empty()) {
        copy = std::malloc(bytes.size());
        if (!copy) throw std::bad_alloc();
        std::memcpy(copy, bytes.data(), bytes.size());
    }
    zip_source_t* source = zip_source_buffer(archive, copy, bytes.size(), copy ? 1 : 0);
    if (!source) {
        std::free(copy);
        fail(fmt::format("cannot add entry {}", name));
    }
    const std::string entry(name);
    if (zip_file_add(archive, entry.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        fail(fmt::format("cannot add entry {}", entry));
    }
}

void ZipArchive::close() {
    zip* archive = handle();
    if (zip_close(archive) != 0) fail("cannot write the archive");
    m_archive.release();  // closed: nothing left to discard
}

}  // namespace mrw

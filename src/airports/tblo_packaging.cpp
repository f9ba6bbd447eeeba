#include "airports/tblo_packaging.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "airports/airport_file_lookup.h"
#include "airports/airports_database.h"
#include "config/parameter_elements.h"
#include "foundation/file_names.h"
#include "foundation/file_replace.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"
#include "foundation/zip_archive.h"

namespace fs = std::filesystem;

namespace mrw {
namespace {

// This publisher's KMCI scenery is known to the maker already; its generated file is not sent.
const FixedCode<4> kTropicalSimAirport{"KMCI"};

bool lf_isTropicalSimKmci(FixedCode<4> code, const fs::path& file) {
    if (code != kTropicalSimAirport) return false;
    pugi::xml_document document;
    if (!document.load_file(file.c_str())) return false;
    return gf_readStringParameter(document, "publisher") == "TropicalSim";
}

// Copies one generated file; true when it was copied. The generated file goes when a link file
// stands beside it.
bool lf_copyToTblo(const fs::path& folder, FixedCode<4> code) {
    const fs::path source = folder / gf_icaoXmlPath(code);
    const fs::path target = g_tbloFolder / gf_icaoXmlPath(code);
    std::error_code error;
    gf_copyFileOver(source, target, error);
    if (error) {
        gf_logError(fmt::format("'{}' failed to copy '{}': {}", path_to_utf8(source), path_to_utf8(target),
                                error.message()));
        return false;
    }
    const fs::path link = folder / gf_icaoTxtPath(code);
    const bool linked = fs::exists(link, error);
    if (error) {
        gf_logError(fmt::format("exists({}) failed: {}", path_to_utf8(link), error.message()));
    } else if (linked && !fs::remove(source, error) && error) {
        gf_logError(fmt::format("remove({}) failed: {}", path_to_utf8(source), error.message()));
    }
    return true;
}

// How many files were copied.
std::size_t lf_copyKnownToTblo(const fs::path& folder, bool skipTropicalSimKmci) {
    std::size_t copied = 0;
    for (const FixedCode<4> code : gf_listXmlCodes(folder)) {
        if (!gf_isKnownAirport(code)) continue;
        const fs::path source = folder / gf_icaoXmlPath(code);
        if (skipTropicalSimKmci && lf_isTropicalSimKmci(code, source)) {
            fs::remove(source);
            continue;
        }
        if (lf_copyToTblo(folder, code)) ++copied;
    }
    return copied;
}

std::string lf_bool(bool value) {
    return value ? "true" : "false";
}

}  // namespace

void lf_copySimaddonToTblo() {
    const std::size_t copied = lf_copyKnownToTblo(g_mySimaddonFolder, false);
    if (copied > 0)
        gf_logLine(fmt::format("{} simaddon file{} copied to tblo folder", copied, gf_pluralS(copied)));
}

void lf_copyThirdpartyToTblo() {
    lf_copyKnownToTblo(g_myThirdpartyFolder, true);
}

std::optional<std::string> gf_readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in.is_open()) return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(bytes.data(), size);
    if (in.fail() && !in.eof()) return std::nullopt;
    return bytes;
}

bool gf_zipFolder(const fs::path& target) {
    const fs::file_status status = fs::status(g_tbloFolder);
    if (!fs::is_directory(status)) {
        gf_logLine(fmt::format("[zip] Not a directory: {}", path_to_utf8(g_tbloFolder)));
        return false;
    }
    std::error_code ignored;
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ignored);
    const fs::path archivePath = fs::absolute(target);
    const fs::path source = fs::absolute(g_tbloFolder);
    gf_logLine(fmt::format("[zip] Target file: {}", path_to_utf8(archivePath)));
    gf_logLine(fmt::format("[zip] Source dir : {}", path_to_utf8(source)));
    if (fs::exists(archivePath)) {
        gf_logLine(fmt::format("[zip] Removing old zip {}", path_to_utf8(archivePath)));
        fs::remove(archivePath, ignored);
    }
    std::optional<ZipArchive> archive;
    try {
        archive.emplace(ZipArchive::create(archivePath));
    } catch (const std::runtime_error&) {
        gf_logLine("[zip] Could not open archive for writing");
        return false;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(source)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::size_t added = 0;
    for (const fs::path& file : files) {
        const auto data = gf_readWholeFile(file);
        if (!data) {
            gf_logLine(fmt::format("[zip] READ FAIL: {}", path_to_utf8(file)));
            continue;
        }
        const std::string name = path_to_utf8(file.filename());
        gf_logLine(
            fmt::format("[zip] Adding (data) {} -> {} ({} bytes)", path_to_utf8(file), name, data->size()));
        try {
            archive->add(name, *data);
        } catch (const std::runtime_error&) {
            gf_logLine(fmt::format("[zip] ERROR addData({})", name));
            break;
        }
        ++added;
    }
    bool closed = true;
    try {
        archive->close();
    } catch (const std::runtime_error&) {
        closed = false;
    }
    const bool exists = fs::exists(archivePath, ignored);
    std::error_code sizeError;
    const std::uintmax_t bytes = exists ? fs::file_size(archivePath, sizeError) : 0;
    const std::int64_t size = sizeError ? -1 : static_cast<std::int64_t>(bytes);
    gf_logLine(fmt::format("[zip] Added {} files, ok_close={}, exists={}, size={} bytes", added,
                           lf_bool(closed), lf_bool(exists), size));
    return added > 0 && exists && size != 0;
}

}  // namespace mrw

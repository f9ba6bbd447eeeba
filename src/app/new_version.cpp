#include "app/new_version.h"

#include "foundation/message_line.h"
#include "foundation/downloader.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/user_error_exception.h"
#include "foundation/zip_archive.h"
#include "platform/system/elevation.h"
#include "platform/system/known_folders.h"
#include "platform/system/message_box.h"
#include "platform/system/write_test.h"
#include "run/run_end.h"

#include <fmt/format.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace mrw {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kProductName = "Merrowvale";
const fs::path kArchiveFile{"latest_version.zip"};
const fs::path kReadmeName{"README.txt"};
// Far above any installer of this program, far below what would strain the memory.
constexpr std::size_t kMaxInstallerBytes = std::size_t{512} << 20;

std::string lf_text(const fs::path& path) {
    return path_to_utf8(path);
}

// The installer is only ever written as install_new_version.exe, yet an entry whose name could
// point elsewhere (a parent, a folder, a rooted or drive path) marks a hostile archive: refused.
bool lf_isPlainFileName(std::string_view name) {
    return !name.empty() && name.find("..") == std::string_view::npos &&
           name.find_first_of("/\\:") == std::string_view::npos;
}

// A failed removal is only a warning with the given text.
void lf_removeWithWarning(const fs::path& path, std::string_view warning) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) gf_logError(fmt::format("{}{}", warning, ec.message()));
}

// Unpacks every plain-named entry over install_new_version.exe (the last good one wins); true when
// at least one was unpacked.
bool lf_unpackInstaller(const ZipArchive& archive) {
    bool unpacked = false;
    for (const std::string& name : archive.entryNames()) {
        if (!lf_isPlainFileName(name)) {
            gf_logError(fmt::format("Refused archive entry '{}': not a plain file name", name));
            continue;
        }
        try {
            archive.extract(name, g_installerName, kMaxInstallerBytes);
            gf_logLine(fmt::format("{} unzipped to {}", lf_text(kArchiveFile), lf_text(g_installerName)));
            unpacked = true;
        } catch (const std::exception& e) {
            gf_logError(fmt::format("Unzipping error code: {}", e.what()));
        }
    }
    return unpacked;
}

// Downloads the archive and unpacks the installer into the program folder; true when this call
// unpacked one.
bool lf_downloadAndUnpack(const VersionData& web) {
    lf_removeWithWarning(g_installerName, "Warning: could not remove old installer: ");
    const std::string url =
        fmt::format("{}{}/{}", gf_downloadsUrl() + "release/", kProductName, lf_text(kArchiveFile));
    Downloader downloader;
    if (!downloader.download(url, kArchiveFile, true)) {
        gf_setMessage(fmt::format("Downloading program installer file version {} failed", web.toString()),
                      true);
        return false;
    }
    gf_logLine(fmt::format("Downloaded {}", lf_text(kArchiveFile)));
    try {
        return lf_unpackInstaller(ZipArchive::openForReading(kArchiveFile));
    } catch (const std::exception& e) {
        gf_logError(fmt::format("Could not open {}", lf_text(kArchiveFile)));
        gf_logIndented(e.what());
        return false;
    }
}

// new_version with its plain files removed (subfolders stay), or made. Filesystem errors throw.
void lf_prepareNewVersionFolder() {
    if (fs::exists(g_newVersionFolder)) {
        gf_removeFilesFromDirectory(g_newVersionFolder);
    } else {
        fs::create_directory(g_newVersionFolder);
    }
}

std::optional<std::uintmax_t> lf_fileSize(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec) return size;
    gf_logLine(fmt::format("file_size({}) failed: {}", lf_text(path), ec.message()));
    return std::nullopt;
}

// Moves the installer into new_version through a ".part" name, comparing the sizes before and
// after, so that new_version never holds a partly moved installer under its final name.
bool lf_moveInstaller() {
    const fs::path part = g_newVersionFolder / (g_installerName.string() + ".part");
    const fs::path final = g_newVersionFolder / g_installerName;
    std::error_code ignored;
    fs::remove(part, ignored);
    fs::remove(final, ignored);

    const std::optional<std::uintmax_t> before = lf_fileSize(g_installerName);
    if (!before) return false;
    std::error_code ec;
    fs::rename(g_installerName, part, ec);
    if (ec) {
        gf_logLine(fmt::format("could not rename {} => {}: {}", lf_text(g_installerName), lf_text(part),
                               ec.message()));
        return false;
    }
    const std::optional<std::uintmax_t> after = lf_fileSize(part);
    if (!after) return false;
    if (*before != *after) {
        gf_logLine(fmt::format("rename {} => {} suspicious: size {} != {}", lf_text(g_installerName),
                               lf_text(part), *before, *after));
        return false;
    }
    fs::rename(part, final, ec);
    if (ec) {
        gf_logLine(fmt::format("could not finalize rename {} => {}: {}", lf_text(part), lf_text(final),
                               ec.message()));
        return false;
    }
    lf_removeWithWarning(g_installerName, "Warning: could not remove extracted: ");
    return true;
}

// True when new_version/install_new_version.exe is in place. When this call unpacked no installer,
// new_version stays as it is, so an installer prepared earlier is kept.
bool lf_downloadNewVersion(const VersionData& web) {
    const bool unpacked = lf_downloadAndUnpack(web);
    if (unpacked) lf_prepareNewVersionFolder();
    lf_removeWithWarning(kArchiveFile, "Warning: could not remove downloaded zip: ");
    std::error_code ec;
    if (!unpacked || !fs::exists(g_installerName, ec)) {
        gf_logError(fmt::format("{} does not exists?", lf_text(g_installerName)));
        return false;
    }
    return lf_moveInstaller();
}

// The release notes, README.txt, the folder opened for the user, and the run's end.
void lf_announceNewVersion() {
    const fs::path notes = g_newVersionFolder / g_releaseNotesName;
    Downloader downloader;
    if (!downloader.download(gf_downloadsUrl() + "docs/" + lf_text(g_releaseNotesName), notes, true)) {
        gf_logError(fmt::format("could not download {} to {}", lf_text(g_releaseNotesName),
                                lf_text(fs::current_path() / g_newVersionFolder)));
    }
    const std::string notice = gf_newVersionNotice(fs::current_path());
    gf_logLine(notice);
    if (!gf_writeTextLine(notice, g_newVersionFolder / kReadmeName))
        gf_logError(fmt::format("Could not write {}", lf_text(g_newVersionFolder / kReadmeName)));
    if (!gf_openContainingFolder(g_newVersionFolder / g_installerName)) {
        platform::showWarningMessageBox("Could not open File Explorer at new version", "MRWV");
        gf_setMessage(
            "Opening file explorer at the new version failed? Try manually via the Brantholm website.", true);
    }
    gf_stopWithReason(ExitReason::NewVersion, 0);
}

// The path text begins, character for character, with the known folder's.
bool lf_isUnder(const fs::path& folder, platform::KnownFolder known) {
    const std::optional<fs::path> base = platform::knownFolderPath(known);
    return base && folder.native().starts_with(base->native());
}

}  // namespace

bool gf_prepareNewVersion(const VersionData& web) {
    try {
        if (lf_downloadNewVersion(web)) {
            lf_announceNewVersion();
            return true;
        }
    } catch (const std::exception& e) {
        gf_logError(e.what());
    }
    const UserErrorException failure(
        112, "The downloading/unzipping of the new version failed? Try manually via the Brantholm website");
    gf_setMessage(failure.what(), true);
    return false;
}

std::string gf_newVersionNotice(const fs::path& folder) {
    const bool underProgramFiles = lf_isUnder(folder, platform::KnownFolder::ProgramFiles) ||
                                   lf_isUnder(folder, platform::KnownFolder::ProgramFilesX86);
    if (underProgramFiles && !platform::canWriteInFolder(folder) && !platform::isProcessElevated())
        return "A new version is available. Run the installer as Administrator";
    return "A new version is available.\nThe installer can be executed normally (no Administrator rights "
           "required).";
}

}  // namespace mrw

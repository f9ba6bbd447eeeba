#include "app/new_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/system/elevation.h"
#include "platform/system/message_box.h"
#include "platform/system/shell.h"
#include "platform/system/write_test.h"
#include "support/scoped_environment.h"
#include "support/test_support.h"
#include "run/run_end.h"
#include "updater_test_support.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::HttpTestServer;
using mrwtest::notFound;
using mrwtest::ok;
using mrwtest::readFile;
using mrwtest::writeFile;
using mrwtest::zipBytes;

using Entries = std::vector<std::pair<std::string, std::string>>;

const std::string kArchivePath = "/downloads/release/Merrowvale/latest_version.zip";
const std::string kNotesPath = "/downloads/docs/ReleaseNotes.pdf";
const std::string kNormalNotice =
    "A new version is available.\nThe installer can be executed normally (no Administrator rights required).";
const std::string kAdminNotice = "A new version is available. Run the installer as Administrator";
const std::string kFailure =
    "112: The downloading/unzipping of the new version failed? Try manually via the Brantholm website";
const VersionData kWeb{12, 7, 0};

// The archive's bytes with the first entry's compressed data damaged.
std::string lf_damaged(std::string bytes) {
    // Local file header: 30 bytes, then the name and the extra field (lengths at 26 and 28).
    const auto length = [&bytes](std::size_t at) {
        return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
    };
    const std::size_t data = 30 + length(26) + length(28);
    for (std::size_t i = data; i < data + 4; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    return bytes;
}

// A program folder whose new_version holds an installer prepared earlier, and a file manager that
// records what it is asked to open.
class NewVersion : public mrwtest::UpdaterTest {
  protected:
    NewVersion() {
        fs::create_directories(path("new_version"));
        writeFile(path("new_version/install_new_version.exe"), "earlier installer");
        writeFile(path("new_version/README.txt"), "earlier notice\n");
    }
    void serveArchive(HttpTestServer::Answer archive, HttpTestServer::Answer notes = ok("%PDF notes")) {
        serve({{kArchivePath, std::move(archive)}, {kNotesPath, std::move(notes)}});
    }
    void expectPrepared(const std::string& installer) {
        EXPECT_EQ(readFile(path("new_version/install_new_version.exe")), installer);
        EXPECT_EQ(readFile(path("new_version/README.txt")), kNormalNotice + "\n");
        EXPECT_EQ(g_exitReason.load(), ExitReason::NewVersion);
        EXPECT_EQ(g_restartDelay.load(), 0);
        EXPECT_TRUE(g_stopRequested.load());
        EXPECT_TRUE(logHas(kNormalNotice + "\n"));
        for (const char* gone :
             {"latest_version.zip", "install_new_version.exe", "new_version/install_new_version.exe.part"})
            EXPECT_FALSE(fs::exists(path(gone))) << gone;
    }
    // The earlier installer and notice stay, the run goes on, and the failure is on the message line.
    void expectFailed() {
        EXPECT_EQ(readFile(path("new_version/install_new_version.exe")), "earlier installer");
        EXPECT_EQ(readFile(path("new_version/README.txt")), "earlier notice\n");
        EXPECT_EQ(g_exitReason.load(), ExitReason::NotYetSet);
        EXPECT_FALSE(g_stopRequested.load());
        EXPECT_EQ(message(), kFailure);
        EXPECT_TRUE(logHas(kFailure + "\n"));
        EXPECT_FALSE(logHas(kNormalNotice));
        EXPECT_TRUE(shell.openedFolders().empty());
        for (const char* gone : {"latest_version.zip", "install_new_version.exe"})
            EXPECT_FALSE(fs::exists(path(gone))) << gone;
    }

    platform::ShellRecorder shell;
};

struct ArchiveCase {
    const char* name;
    Entries entries;
    std::optional<std::string> installer;  // none: nothing is prepared
    std::vector<std::string> warnings;
    bool truncated = false;
    bool damaged = false;
};

class Archive : public NewVersion, public ::testing::WithParamInterface<ArchiveCase> {};

TEST_P(Archive, PreparesTheLastGoodEntryOrNothing) {
    const ArchiveCase& c = GetParam();
    std::string bytes = zipBytes(c.entries);
    if (c.truncated) bytes.resize(bytes.size() / 2);  // served whole: a complete answer of a broken file
    if (c.damaged) bytes = lf_damaged(bytes);
    serveArchive(ok(bytes));
    const fs::path outside = path("x").parent_path().parent_path() / "x";  // where "../x" would land
    const bool outsideBefore = fs::exists(outside);
    EXPECT_EQ(gf_prepareNewVersion(kWeb), c.installer.has_value());
    for (const std::string& warning : c.warnings)
        EXPECT_TRUE(logHas("==> " + warning)) << warning;
    EXPECT_EQ(fs::exists(outside), outsideBefore);
    EXPECT_FALSE(fs::exists("/abs/x"));
    EXPECT_FALSE(fs::exists(path("sub")));
    if (c.installer) {
        expectPrepared(*c.installer);
        EXPECT_EQ(shell.openedFolders(), std::vector<fs::path>{"new_version"});
    } else {
        expectFailed();
    }
}

INSTANTIATE_TEST_SUITE_P(
    NewVersion, Archive,
    ::testing::Values(
        ArchiveCase{"OneEntry", {{"install_new_version.exe", "installer 12.7"}}, "installer 12.7", {}},
        ArchiveCase{"TwoEntriesTheSecondIsMoved",
                    {{"install_new_version.exe", "first"}, {"setup.exe", "second"}},
                    "second",
                    {}},
        ArchiveCase{"TruncatedArchive",
                    {{"install_new_version.exe", std::string(5000, 'i')}},
                    std::nullopt,
                    {"Could not open latest_version.zip\n"},
                    true},
        ArchiveCase{
            "HostileNamesOnly",
            {{"../x", "escape"}, {"/abs/x", "rooted"}, {"sub/", ""}, {"C:x", "drive"}, {"..\\x", "escape"}},
            std::nullopt,
            {"Refused archive entry '../x': not a plain file name\n",
             "Refused archive entry '/abs/x': not a plain file name\n",
             "Refused archive entry 'sub/': not a plain file name\n",
             "Refused archive entry 'C:x': not a plain file name\n",
             "Refused archive entry '..\\x': not a plain file name\n"}},
        ArchiveCase{"HostileNameBesideAGoodOne",
                    {{"install_new_version.exe", "good"}, {"../x", "escape"}},
                    "good",
                    {"Refused archive entry '../x': not a plain file name\n"}},
        ArchiveCase{"DamagedEntry",
                    {{"install_new_version.exe", std::string(3000, 'd') + "installer"}},
                    std::nullopt,
                    {"Unzipping error code: "},
                    false,
                    true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewVersion, AStaleInstallerIsNotTakenForTheNewOne) {
    writeFile(path("install_new_version.exe"), "stale installer");
    serveArchive(notFound());
    EXPECT_FALSE(gf_prepareNewVersion(kWeb));
    EXPECT_TRUE(logHas("Downloading program installer file version 12.7.0 failed\n"));
    expectFailed();
}

TEST_F(NewVersion, OldFilesOfNewVersionAreReplacedAndSubfoldersKept) {
    writeFile(path("new_version/ReleaseNotes.pdf"), "old notes");
    writeFile(path("new_version/other.txt"), "old");
    fs::create_directories(path("new_version/kept"));
    writeFile(path("new_version/kept/file.txt"), "kept");
    serveArchive(ok(zipBytes({{"install_new_version.exe", "installer 12.7"}})));
    EXPECT_TRUE(gf_prepareNewVersion(kWeb));
    expectPrepared("installer 12.7");
    EXPECT_EQ(readFile(path("new_version/ReleaseNotes.pdf")), "%PDF notes");
    EXPECT_FALSE(fs::exists(path("new_version/other.txt")));
    EXPECT_EQ(readFile(path("new_version/kept/file.txt")), "kept");
    EXPECT_TRUE(requested(kNotesPath));
}

TEST_F(NewVersion, IsStillAnnouncedWithoutReleaseNotesOrFileManager) {
    const platform::MessageBoxRecorder boxes;
    shell.setResult(platform::kOpenFolderNotFound);
    serveArchive(ok(zipBytes({{"install_new_version.exe", "installer 12.7"}})), notFound());
    fs::remove_all(path("new_version"));  // made anew
    EXPECT_TRUE(gf_prepareNewVersion(kWeb));
    expectPrepared("installer 12.7");
    EXPECT_TRUE(
        logHas("==> could not download ReleaseNotes.pdf to " + (path("new_version")).string() + "\n"));
    EXPECT_FALSE(fs::exists(path("new_version/ReleaseNotes.pdf")));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Could not open File Explorer at new version");
    EXPECT_EQ(boxes.shown()[0].caption, "MRWV");
    EXPECT_EQ(message(),
              "Opening file explorer at the new version failed? Try manually via the Brantholm website.");
}

struct NoticeCase {
    const char* name;
    bool underProgramFiles;
    bool writable;
    bool elevated;
    bool needsAdministrator;
};

class Notice : public ::testing::TestWithParam<NoticeCase> {};

TEST_P(Notice, SaysWhetherTheInstallerNeedsAdministratorRights) {
    const NoticeCase& c = GetParam();
    const mrwtest::TempDir programFiles;
    const mrwtest::TempDir elsewhere;
    mrwtest::ScopedEnvironment environment;
    environment.set("MRW_PROGRAM_FILES", programFiles.path().string());
    environment.set("MRW_PROGRAM_FILES_X86", std::nullopt);
    const fs::path folder = (c.underProgramFiles ? programFiles.path() : elsewhere.path()) / "Merrowvale";
    const platform::ScopedWriteTestOverride writable([&c](const fs::path&) { return c.writable; });
    const platform::ScopedElevationOverride elevated(c.elevated);
    EXPECT_EQ(gf_newVersionNotice(folder), c.needsAdministrator ? kAdminNotice : kNormalNotice);
}

INSTANTIATE_TEST_SUITE_P(NewVersion, Notice,
                         ::testing::Values(NoticeCase{"ProgramFilesReadOnly", true, false, false, true},
                                           NoticeCase{"ProgramFilesReadOnlyElevated", true, false, true,
                                                      false},
                                           NoticeCase{"ProgramFilesWritable", true, true, false, false},
                                           NoticeCase{"OtherDriveReadOnly", false, false, false, false},
                                           NoticeCase{"OtherDriveWritable", false, true, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mrw

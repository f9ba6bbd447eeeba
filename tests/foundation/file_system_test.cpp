#include "foundation/file_system.h"

#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "platform/system/shell.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::readFile;
using mrwtest::writeFile;

class FileSystemTest : public ::testing::Test {
  protected:
    FileSystemTest() { gf_openLog(); }
    std::string log() const { return readFile(folder / "Log.txt"); }
    std::size_t logLineCount() const { return mrwtest::readLines(folder / "Log.txt").size(); }

    mrwtest::ProgramFolder folder;
};

TEST(DataDirectory, IsTheRoamingFolderWithTheProductName) {
    const char* roaming = std::getenv("MRW_ROAMING_APPDATA");
    ASSERT_NE(roaming, nullptr) << "CTest sets the known folders";
    EXPECT_EQ(g_dataDirectory(), fs::path(roaming) / "Merrowvale");
    EXPECT_EQ(g_parametersFile(), fs::path(roaming) / "Merrowvale" / "parameters.xml");
    EXPECT_EQ(gf_appDataPath(), fs::path(roaming));
    EXPECT_EQ(gf_localAppDataPath(), fs::path(std::getenv("MRW_LOCAL_APPDATA")));
}

TEST_F(FileSystemTest, RemoveFile) {
    writeFile(folder / "a.txt", "a");
    const std::size_t linesBefore = logLineCount();
    gf_removeFile("a.txt");
    gf_removeFile("missing.txt");
    EXPECT_FALSE(fs::exists(folder / "a.txt"));
    EXPECT_EQ(logLineCount(), linesBefore) << "neither removal nor a missing file is logged";

    // A folder with content cannot be removed as a file: logged, and the caller goes on.
    writeFile(folder / "full" / "inner.txt", "x");
    gf_removeFile("full");
    EXPECT_TRUE(fs::exists(folder / "full" / "inner.txt"));
    EXPECT_NE(log().find("==> Warning: could not remove full, errorcode: "), std::string::npos) << log();
}

TEST_F(FileSystemTest, RemoveFilesFromDirectoryLeavesSubFolders) {
    writeFile(folder / "d" / "one.txt", "1");
    writeFile(folder / "d" / "two.xml", "2");
    writeFile(folder / "d" / "sub" / "three.txt", "3");
    gf_removeFilesFromDirectory("d");
    EXPECT_FALSE(fs::exists(folder / "d" / "one.txt"));
    EXPECT_FALSE(fs::exists(folder / "d" / "two.xml"));
    EXPECT_TRUE(fs::exists(folder / "d" / "sub" / "three.txt"));
    EXPECT_NO_THROW(gf_removeFilesFromDirectory("missing"));
    EXPECT_NO_THROW(gf_removeFilesFromDirectory(folder / "d" / "sub" / "three.txt"));
    EXPECT_TRUE(fs::exists(folder / "d" / "sub" / "three.txt"));
}

TEST_F(FileSystemTest, RemoveXmlFilesFromTbloKeepsOtherFiles) {
    for (const char* name : {"EHAM.xml", "EGLL.XML", "tblo.zip", "notes.txt"})
        writeFile(folder / g_tbloFolder / name, "x");
    fs::create_directories(folder / g_tbloFolder / "dir.xml");
    gf_removeXMLFilesFromDirectory();
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(folder / g_tbloFolder))
        left.push_back(path_to_utf8(entry.path().filename()));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"dir.xml", "notes.txt", "tblo.zip"}));
}

TEST_F(FileSystemTest, CountFilesCountsOnlyRegularFiles) {
    EXPECT_EQ(gf_countFiles("missing"), 0U);
    for (const char* name : {"a", "b.txt", "c.xml"})
        writeFile(folder / "d" / name, "x");
    fs::create_directories(folder / "d" / "sub1" / "inner");
    writeFile(folder / "d" / "sub2" / "e.txt", "x");
    // A link to a folder is no file either. (Links need rights on Windows: where none can be made,
    // the files and folders above are still counted.)
    std::error_code noLink;
    fs::create_directory_symlink(folder / "d" / "sub1", folder / "d" / "link", noLink);
    EXPECT_EQ(gf_countFiles("d"), 3U);
    EXPECT_EQ(gf_countRegularFiles(fs::directory_iterator(folder / "d" / "sub2")), 1U);
}

TEST_F(FileSystemTest, ListXmlCodesTakesAirportFilesOnly) {
    EXPECT_TRUE(gf_listXmlCodes("missing").empty());
    for (const char* name : {"eham.xml", "EGLL.XML", "LFPG.txt", "KJFK1.xml", "E-AM.xml", "EDD.xml"}) {
        writeFile(folder / "apf" / name, "<root/>");
    }
    fs::create_directories(folder / "apf" / "ABCD.xml");
    const std::vector<FixedCode<4>> codes = gf_listXmlCodes("apf");
    EXPECT_EQ(codes, (std::vector<FixedCode<4>>{FixedCode<4>("EGLL"), FixedCode<4>("EHAM")}));
    // A stray file in the user's folder is reported and skipped, not fatal.
    const std::string skipped = path_to_utf8(fs::path("apf") / "E-AM.xml");
    EXPECT_NE(log().find("==> " + skipped + " is not named after an airport code, skipped\n"), std::string::npos)
        << log();
}

TEST_F(FileSystemTest, OpenContainingFolderOpensTheParent) {
    platform::ShellRecorder shell;
    writeFile(folder / "sub" / "file.txt", "x");
    EXPECT_TRUE(gf_openContainingFolder("sub/file.txt"));
    EXPECT_FALSE(gf_openContainingFolder("sub/missing.txt"));
    writeFile(folder / "top.txt", "x");
    EXPECT_FALSE(gf_openContainingFolder("top.txt")) << "no parent path";
    EXPECT_EQ(shell.openedFolders(), std::vector<fs::path>{"sub"});

    shell.setResult(platform::kOpenFolderNotFound);
    EXPECT_FALSE(gf_openContainingFolder("sub/file.txt"));
}

}  // namespace
}  // namespace mrw

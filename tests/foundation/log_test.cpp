#include "foundation/log.h"
#include "foundation/clock.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <thread>

namespace mrw {
namespace {

using mrwtest::readFile;
using mrwtest::writeFile;

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gf_setWallClockForTests([] { return 1796775995; });
    }  // Wed Dec 09 00:26:35 2026
    void TearDown() override { gf_setWallClockForTests({}); }
    mrwtest::ProgramFolder folder;
};

TEST_F(LogTest, OpenWritesBannerAndLinesOfTheThreeKinds) {
    gf_openLog();
    gf_logLine("plain");
    gf_logError("x");
    gf_logIndented("x");
    gf_logLine("\nbanner");
    EXPECT_EQ(readFile(folder / "Log.txt"),
              "Wed Dec 09 00:26:35 2026 (utc) Merrowvale version 12.6.0 for MSFS 2020/2024\n"
              "plain\n==> x\n          x\n\nbanner\n");
}

TEST_F(LogTest, OpenKeepsThreeOlderGenerations) {
    writeFile(folder / "Log.txt", "current");
    writeFile(folder / "Log0.txt", "older");
    writeFile(folder / "Log00.txt", "oldest");
    gf_openLog();
    EXPECT_EQ(readFile(folder / "Log000.txt"), "oldest");
    EXPECT_EQ(readFile(folder / "Log00.txt"), "older");
    EXPECT_EQ(readFile(folder / "Log0.txt"), "current");
    EXPECT_EQ(readFile(folder / "Log.txt"),
              "Wed Dec 09 00:26:35 2026 (utc) Merrowvale version 12.6.0 for MSFS 2020/2024\n");
}

TEST_F(LogTest, OpenWithoutAnyOldLogWritesNoGeneration) {
    gf_openLog();
    EXPECT_TRUE(std::filesystem::exists(folder / "Log.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Log0.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder / "Log00.txt"));
}

TEST_F(LogTest, OpenFailureThrowsAndDropsLaterLines) {
    std::filesystem::create_directory(folder / "Log.txt");  // a folder cannot be opened as the log
    EXPECT_THROW(
        {
            try {
                gf_openLog();
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "Failed to write file Log.txt");
                throw;
            }
        },
        std::runtime_error);
    gf_logLine("dropped");  // must not crash or write anywhere
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Log.txt"));
}

TEST_F(LogTest, LinesOfConcurrentThreadsNeverMix) {
    gf_openLog();
    constexpr int kLines = 500;
    auto writer = [](char c) {
        const std::string text(200, c);
        for (int i = 0; i < kLines; ++i)
            gf_logLine(text);
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    const auto lines = mrwtest::readLines(folder / "Log.txt");
    ASSERT_EQ(lines.size(), 1u + 2 * kLines);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i] == std::string(200, 'a') || lines[i] == std::string(200, 'b')) << "line " << i;
    }
}

TEST_F(LogTest, SaveOneGeneration) {
    gf_openLog();
    writeFile(folder / "parameters.xml", "new");
    writeFile(folder / "parameters0.xml", "old");
    EXPECT_TRUE(gf_save1GenerationOf("parameters.xml"));
    EXPECT_EQ(readFile(folder / "parameters0.xml"), "new");
    EXPECT_EQ(readFile(folder / "parameters.xml"), "new");

    EXPECT_TRUE(gf_save1GenerationOf("missing.xml"));
    EXPECT_FALSE(std::filesystem::exists(folder / "missing0.xml"));

    EXPECT_FALSE(gf_save1GenerationOf("nodot"));
    EXPECT_NE(readFile(folder / "Log.txt").find("==> gf_save1GenerationOf: no dot in filename: nodot\n"),
              std::string::npos);
}

TEST_F(LogTest, DotInFolderNameOnlyGetsItsGenerationInTheFolderName) {
    gf_openLog();
    writeFile(folder / "dir.d" / "file", "x");
    EXPECT_FALSE(gf_save1GenerationOf("dir.d/file"));  // target "dir0.d/file": no such folder
    EXPECT_NE(readFile(folder / "Log.txt").find("==> copy dir.d/file -> dir0.d/file failed: "),
              std::string::npos);
    EXPECT_FALSE(gf_saveUpto3GenerationsOf("nodot"));
}

}  // namespace
}  // namespace mrw

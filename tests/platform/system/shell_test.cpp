#include "platform/system/shell.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace {

TEST(ShellTest, RecorderCapturesFoldersAndReturnsSuccessByDefault) {
    platform::ShellRecorder recorder;
    EXPECT_GT(platform::openFolder("/data/one"), 32);
    EXPECT_GT(platform::openFolder("/data/two"), 32);
    EXPECT_EQ(recorder.openedFolders(), (std::vector<std::filesystem::path>{"/data/one", "/data/two"}));
}

TEST(ShellTest, RecorderReturnsScriptedFailure) {
    platform::ShellRecorder recorder(platform::kOpenFolderNotFound);
    EXPECT_EQ(platform::openFolder("/data"), platform::kOpenFolderNotFound);
    recorder.setResult(5);
    EXPECT_EQ(platform::openFolder("/data"), 5);
    EXPECT_EQ(recorder.openedFolders().size(), 2u);
}

TEST(ShellTest, NewRecorderStartsWithEmptyJournal) {
    {
        platform::ShellRecorder first;
        platform::openFolder("/old");
    }
    platform::ShellRecorder second;
    EXPECT_TRUE(second.openedFolders().empty());
}

}  // namespace

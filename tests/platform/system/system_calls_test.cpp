#include "platform/system/elevation.h"
#include "platform/system/message_box.h"
#include "platform/system/single_instance.h"
#include "platform/system/timer_period.h"
#include "platform/system/write_test.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(SingleInstanceTest, SecondLockIsRefusedUntilTheFirstIsGone) {
    mrwtest::TempDir dir;
    {
        platform::SingleInstanceLock first("MRWV", dir.path());
        EXPECT_EQ(first.state(), platform::InstanceLock::Acquired);
        platform::SingleInstanceLock second("MRWV", dir.path());
        EXPECT_EQ(second.state(), platform::InstanceLock::AlreadyRunning);
        platform::SingleInstanceLock other("Other", dir.path());
        EXPECT_EQ(other.state(), platform::InstanceLock::Acquired) << "another name is another lock";
    }
    platform::SingleInstanceLock again("MRWV", dir.path());
    EXPECT_EQ(again.state(), platform::InstanceLock::Acquired) << "the lock ends with its holder";
}

TEST(ElevationTest, OverrideAnswersWhileItLives) {
    const bool real = platform::isProcessElevated();
    for (bool scripted : {true, false}) {
        platform::ScopedElevationOverride override(scripted);
        EXPECT_EQ(platform::isProcessElevated(), scripted);
    }
    EXPECT_EQ(platform::isProcessElevated(), real) << "the override ends with its scope";
}

TEST(WriteTestTest, WritableFolderPassesAndLeavesNothingBehind) {
    mrwtest::TempDir dir;
    EXPECT_TRUE(platform::canWriteInFolder(dir.path()));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(WriteTestTest, FolderThatCannotHoldTheFileFails) {
    mrwtest::TempDir dir;
    mrwtest::writeFile(dir / "plain-file", "x");
    EXPECT_FALSE(platform::canWriteInFolder(dir / "plain-file"))
        << "a regular file is no folder, even for root";
    EXPECT_FALSE(platform::canWriteInFolder(dir / "missing"));
}

TEST(WriteTestTest, OverrideAnswersInsteadOfTheFileSystem) {
    mrwtest::TempDir dir;
    std::filesystem::path asked;
    {
        platform::ScopedWriteTestOverride override([&](const std::filesystem::path& folder) {
            asked = folder;
            return false;
        });
        EXPECT_FALSE(platform::canWriteInFolder(dir.path()));
    }
    EXPECT_EQ(asked, dir.path());
    EXPECT_TRUE(platform::canWriteInFolder(dir.path()));
}

TEST(MessageBoxTest, RecorderKeepsTextAndCaptionAndTheAnswerIsOk) {
    platform::MessageBoxRecorder recorder;
    EXPECT_EQ(platform::showWarningMessageBox("Could not open File Explorer at tblo.zip.", "MRWV"),
              platform::kMessageBoxOk);
    std::vector<platform::MessageBoxRecord> shown = recorder.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Could not open File Explorer at tblo.zip.");
    EXPECT_EQ(shown[0].caption, "MRWV");
}

TEST(TimerPeriodTest, CountsCallsAndReturnsTheScriptedResult) {
    {
        platform::TimerPeriodRecorder recorder;
        EXPECT_EQ(platform::beginTimerPeriod(1), platform::kTimerNoError);
        EXPECT_EQ(platform::endTimerPeriod(1), platform::kTimerNoError);
        EXPECT_EQ(recorder.begins(), 1);
        EXPECT_EQ(recorder.ends(), 1);
    }
    platform::TimerPeriodRecorder failing(platform::kTimerNoCanDo);
    EXPECT_EQ(platform::beginTimerPeriod(1), platform::kTimerNoCanDo);
    EXPECT_EQ(platform::beginTimerPeriod(0), platform::kTimerNoCanDo) << "a zero period is refused";
    EXPECT_EQ(failing.begins(), 1);
    EXPECT_EQ(failing.ends(), 0);
}

}  // namespace

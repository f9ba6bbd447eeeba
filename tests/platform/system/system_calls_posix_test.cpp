// The system calls' Linux side: a lock file for the single instance, root as the elevated user.
// (On Windows the instance guard is a named mutex and elevation the process token's.)
#include "platform/system/elevation.h"
#include "platform/system/single_instance.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(SingleInstanceTest, MissingLockFolderGivesNoGuardRatherThanAnotherInstance) {
    mrwtest::TempDir dir;
    platform::SingleInstanceLock lock("MRWV", dir / "missing");
    EXPECT_EQ(lock.state(), platform::InstanceLock::Unavailable);
    EXPECT_FALSE(platform::SingleInstanceLock::defaultDirectory().empty());
}

TEST(ElevationTest, FollowsTheEffectiveUser) {
    EXPECT_EQ(platform::isProcessElevated(), ::geteuid() == 0);
}

}  // namespace

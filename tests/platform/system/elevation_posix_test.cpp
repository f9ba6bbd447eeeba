#include "platform/system/elevation.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

// On Linux the elevated process is the one whose effective user is root.
TEST(ElevationTest, FollowsTheEffectiveUser) {
    EXPECT_EQ(platform::isProcessElevated(), ::geteuid() == 0);
}

}  // namespace

#include "foundation/file_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace mrw {
namespace {

namespace fs = std::filesystem;
using mrwtest::readFile;
using mrwtest::writeFile;

std::vector<std::string> lf_names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A reader never sees a partly written target: the new bytes go to a new file that takes the
// target's name, so a hard-linked alias of the old file keeps the old bytes whole.
TEST(ReplaceFile, WritesANewFileUnderTheTargetsName) {
    const mrwtest::TempDir dir;
    writeFile(dir / "parameters.xml", "old content");
    fs::create_hard_link(dir / "parameters.xml", dir / "alias.xml");
    for (const std::string& bytes : {std::string("new\0content\r\n", 13), std::string()}) {
        ASSERT_TRUE(gf_replaceFile(dir / "parameters.xml", bytes));
        EXPECT_EQ(readFile(dir / "parameters.xml"), bytes);
        EXPECT_EQ(readFile(dir / "alias.xml"), "old content");
        EXPECT_EQ(lf_names(dir.path()), (std::vector<std::string>{"alias.xml", "parameters.xml"}));
    }
}

TEST(ReplaceFile, AFailureLeavesTheTargetAndNoTemporaryFile) {
    const mrwtest::TempDir dir;
    EXPECT_FALSE(gf_replaceFile(dir / "missing" / "file.txt", "bytes"));
    EXPECT_FALSE(fs::exists(dir / "missing"));
    // A folder in the target's place cannot be replaced by a file.
    fs::create_directories(dir / "taken");
    writeFile(dir / "taken" / "inside.txt", "kept");
    EXPECT_FALSE(gf_replaceFile(dir / "taken", "bytes"));
    EXPECT_EQ(readFile(dir / "taken" / "inside.txt"), "kept");
    EXPECT_EQ(lf_names(dir.path()), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace mrw

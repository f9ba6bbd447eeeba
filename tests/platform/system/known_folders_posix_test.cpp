// The Linux counterparts of the known folders (Windows asks the shell for them).
#include "platform/system/known_folders.h"

#include "support/scoped_environment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using platform::KnownFolder;

namespace {

struct FolderCase {
    const char* name;
    KnownFolder folder;
    std::optional<std::string> overrideValue;
    std::optional<std::string> xdgValue;
    std::optional<std::string> home;
    std::optional<std::string> expected;  // none: no path
};

class KnownFolderTest : public ::testing::TestWithParam<FolderCase> {};

const char* lf_overrideName(KnownFolder folder) {
    switch (folder) {
        case KnownFolder::RoamingAppData:
            return "MRW_ROAMING_APPDATA";
        case KnownFolder::LocalAppData:
            return "MRW_LOCAL_APPDATA";
        case KnownFolder::ProgramFiles:
            return "MRW_PROGRAM_FILES";
        case KnownFolder::ProgramFilesX86:
            return "MRW_PROGRAM_FILES_X86";
    }
    return "";
}

const char* lf_xdgName(KnownFolder folder) {
    return folder == KnownFolder::RoamingAppData ? "XDG_CONFIG_HOME" : "XDG_DATA_HOME";
}

TEST_P(KnownFolderTest, FollowsOverrideThenXdgThenHome) {
    const FolderCase& c = GetParam();
    mrwtest::ScopedEnvironment env;
    env.set(lf_overrideName(c.folder), c.overrideValue);
    env.set(lf_xdgName(c.folder), c.xdgValue);
    env.set("HOME", c.home);

    auto path = platform::knownFolderPath(c.folder);
    if (c.expected) {
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(path->string(), *c.expected);
    } else {
        EXPECT_FALSE(path.has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KnownFolderTest,
    ::testing::Values(
        FolderCase{"RoamingOverride", KnownFolder::RoamingAppData, "/r", "/x", "/h", "/r"},
        FolderCase{"RoamingXdg", KnownFolder::RoamingAppData, std::nullopt, "/x", "/h", "/x"},
        FolderCase{"RoamingEmptyOverrideIsUnset", KnownFolder::RoamingAppData, "", "/x", "/h", "/x"},
        FolderCase{"RoamingHome", KnownFolder::RoamingAppData, std::nullopt, std::nullopt, "/h",
                   "/h/.config"},
        FolderCase{"RoamingNoHome", KnownFolder::RoamingAppData, std::nullopt, std::nullopt, std::nullopt,
                   std::nullopt},
        FolderCase{"LocalOverride", KnownFolder::LocalAppData, "/l", "/x", "/h", "/l"},
        FolderCase{"LocalXdg", KnownFolder::LocalAppData, std::nullopt, "/x", "/h", "/x"},
        FolderCase{"LocalHome", KnownFolder::LocalAppData, std::nullopt, "", "/h", "/h/.local/share"},
        FolderCase{"ProgramFilesOverride", KnownFolder::ProgramFiles, "/pf", "/x", std::nullopt, "/pf"},
        FolderCase{"ProgramFilesDefault", KnownFolder::ProgramFiles, std::nullopt, "/x", std::nullopt,
                   "/opt"},
        FolderCase{"ProgramFilesX86Override", KnownFolder::ProgramFilesX86, "/p86", std::nullopt, "/h",
                   "/p86"},
        FolderCase{"ProgramFilesX86Default", KnownFolder::ProgramFilesX86, std::nullopt, std::nullopt, "/h",
                   "/usr/local"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

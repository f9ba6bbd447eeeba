#include "foundation/file_system.h"

#include "foundation/log.h"
#include "platform/system/known_folders.h"
#include "support/scoped_environment.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace mrw {
namespace {

namespace fs = std::filesystem;

// Only on Linux can a test take the known folders away (Windows' shell always knows them).
TEST(KnownFolderMissing, LogsAndGivesAnEmptyPath) {
    const mrwtest::ProgramFolder folder;
    gf_openLog();
    mrwtest::ScopedEnvironment env;
    for (const char* name :
         {"MRW_ROAMING_APPDATA", "MRW_LOCAL_APPDATA", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "HOME"})
        env.set(name, std::nullopt);
    EXPECT_EQ(gf_knownFolderPath(platform::KnownFolder::RoamingAppData), std::nullopt);
    EXPECT_EQ(gf_appDataPath(), fs::path());
    EXPECT_EQ(gf_localAppDataPath(), fs::path());
    const std::string log = mrwtest::readFile(folder / "Log.txt");
    EXPECT_NE(log.find("==> Could not find the AppData path\n"), std::string::npos);
    EXPECT_NE(log.find("==> Could not find the Local AppData path\n"), std::string::npos);
}

}  // namespace
}  // namespace mrw

// Binding SimConnect at run time: the places looked in, the first file that loads, a missing file
// or function.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "foundation/text_encoding.h"
#include "platform/simconnect/simconnect_library.h"
#include "support/scoped_environment.h"
#include "support/scripted_simconnect_files.h"

namespace fs = std::filesystem;
using platform::SimConnectProc;

namespace {

using mrwtest::ScriptedSimConnectFiles;

const fs::path kBeside = fs::path("program") / "SimConnect.dll";
const fs::path kSdk = fs::path("sdk") / "SimConnect SDK" / "lib" / "SimConnect.dll";

TEST(SimConnectLibrary, PlacesAreBesideTheProgramThenInTheSdkFolder) {
    EXPECT_EQ(platform::simConnectPlaces("program", fs::path("sdk")), (std::vector<fs::path>{kBeside, kSdk}));
    EXPECT_EQ(platform::simConnectPlaces("program", std::nullopt), std::vector<fs::path>{kBeside});
    EXPECT_EQ(platform::simConnectPlaces("program", fs::path()), std::vector<fs::path>{kBeside});
}

// The SDK's installer names its folder in MSFS_SDK; unset or empty, there is no SDK place.
TEST(SimConnectLibrary, TheSdkFolderIsTheOneMsfsSdkNames) {
    mrwtest::ScopedEnvironment environment;
    const std::string folder = "C:\\MSFS SDK M\u00fcller";
    environment.set("MSFS_SDK", folder);
    EXPECT_EQ(platform::simulatorSdkFolder(), std::optional<fs::path>(mrw::utf8_to_path(folder)));
    environment.set("MSFS_SDK", std::nullopt);
    EXPECT_EQ(platform::simulatorSdkFolder(), std::nullopt);
}

TEST(SimConnectLibrary, TheFirstFileThatLoadsIsBoundOrNamedWithItsMissingFunction) {
    const auto all = ScriptedSimConnectFiles::allFunctions();
    const auto withoutRelease = ScriptedSimConnectFiles::allFunctionsBut("SimConnect_AIReleaseControl");
    struct Case {
        const char* name;
        std::map<fs::path, std::set<std::string>> files;
        bool bound;
        fs::path file;
        std::string missingFunction;
    };
    const std::vector<Case> cases{
        {"beside the program", {{kBeside, all}, {kSdk, all}}, true, kBeside, ""},
        {"in the SDK only", {{kSdk, all}}, true, kSdk, ""},
        {"nowhere", {}, false, "", ""},
        // A wrong file beside the program is reported, not passed over for the SDK's.
        {"a function missing",
         {{kBeside, withoutRelease}, {kSdk, all}},
         false,
         kBeside,
         "SimConnect_AIReleaseControl"},
        {"the last function missing",
         {{kBeside, ScriptedSimConnectFiles::allFunctionsBut("SimConnect_RequestFacilityData")}},
         false,
         kBeside,
         "SimConnect_RequestFacilityData"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSimConnectFiles files;
        files.files = c.files;
        const platform::SimConnectBinding binding = platform::bindSimConnect(files, {kBeside, kSdk});
        EXPECT_EQ(binding.bound, c.bound);
        EXPECT_EQ(binding.file, c.file);
        EXPECT_EQ(binding.missingFunction, c.missingFunction);
        EXPECT_EQ(binding.places, (std::vector<fs::path>{kBeside, kSdk}));
        for (SimConnectProc function : binding.functions)
            EXPECT_EQ(function, c.bound ? ScriptedSimConnectFiles::fakeFunction() : nullptr);
    }
}

TEST(SimConnectLibrary, AFileThatDoesNotLoadIsPassedOver) {
    ScriptedSimConnectFiles files;
    files.files = {{kSdk, ScriptedSimConnectFiles::allFunctions()}};
    EXPECT_TRUE(platform::bindSimConnect(files, {kBeside, kSdk}).bound);
    EXPECT_EQ(files.loads, (std::vector<fs::path>{kBeside, kSdk}));
}

}  // namespace

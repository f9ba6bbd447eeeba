// Binding SimConnect at run time: the places looked in, the first file that loads, a missing file
// or function, and the program's binding (the in-process functions here).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/simconnect/simconnect.h"
#include "platform/simconnect/simconnect_library.h"
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

template <class Function>
SimConnectProc proc(Function* function) {
    return reinterpret_cast<SimConnectProc>(function);
}

TEST(SimConnectLibrary, TheProgramBindsTheInProcessFunctionsByName) {
    const platform::SimConnectBinding binding = platform::bindProgramSimConnect();
    ASSERT_TRUE(binding.bound);
    const std::map<std::string, SimConnectProc> expected{
        {"SimConnect_Open", proc(&SimConnect_Open)},
        {"SimConnect_Close", proc(&SimConnect_Close)},
        {"SimConnect_CallDispatch", proc(&SimConnect_CallDispatch)},
        {"SimConnect_GetLastSentPacketID", proc(&SimConnect_GetLastSentPacketID)},
        {"SimConnect_SubscribeToSystemEvent", proc(&SimConnect_SubscribeToSystemEvent)},
        {"SimConnect_AddToDataDefinition", proc(&SimConnect_AddToDataDefinition)},
        {"SimConnect_MapClientEventToSimEvent", proc(&SimConnect_MapClientEventToSimEvent)},
        {"SimConnect_AddClientEventToNotificationGroup", proc(&SimConnect_AddClientEventToNotificationGroup)},
        {"SimConnect_SetNotificationGroupPriority", proc(&SimConnect_SetNotificationGroupPriority)},
        {"SimConnect_RequestDataOnSimObject", proc(&SimConnect_RequestDataOnSimObject)},
        {"SimConnect_RequestDataOnSimObjectType", proc(&SimConnect_RequestDataOnSimObjectType)},
        {"SimConnect_SetDataOnSimObject", proc(&SimConnect_SetDataOnSimObject)},
        {"SimConnect_TransmitClientEvent", proc(&SimConnect_TransmitClientEvent)},
        {"SimConnect_AICreateNonATCAircraft", proc(&SimConnect_AICreateNonATCAircraft)},
        {"SimConnect_AIRemoveObject", proc(&SimConnect_AIRemoveObject)},
        {"SimConnect_AIReleaseControl", proc(&SimConnect_AIReleaseControl)},
        {"SimConnect_AISetAircraftFlightPlan", proc(&SimConnect_AISetAircraftFlightPlan)},
        {"SimConnect_AddToFacilityDefinition", proc(&SimConnect_AddToFacilityDefinition)},
        {"SimConnect_RequestFacilityData", proc(&SimConnect_RequestFacilityData)},
    };
    ASSERT_EQ(expected.size(), platform::kSimConnectFunctions.size());
    for (std::size_t i = 0; i < platform::kSimConnectFunctions.size(); ++i) {
        const char* name = platform::kSimConnectFunctions[i];
        ASSERT_TRUE(expected.contains(name)) << name;
        EXPECT_EQ(binding.functions[i], expected.at(name)) << name;
    }
}

TEST(SimConnectLibrary, AFailedProgramBindingIsTriedAgainAndAnOverrideIsForgottenAfterwards) {
    ScriptedSimConnectFiles files;
    {
        const platform::SimConnectFilesOverride scripted(files, {kBeside, kSdk});
        platform::SimConnectBinding binding = platform::bindProgramSimConnect();
        EXPECT_FALSE(binding.bound);
        EXPECT_EQ(binding.places, (std::vector<fs::path>{kBeside, kSdk}));

        // The DLL put in place meanwhile is found by the next try, and kept.
        files.files[kSdk] = ScriptedSimConnectFiles::allFunctions();
        binding = platform::bindProgramSimConnect();
        EXPECT_TRUE(binding.bound);
        EXPECT_EQ(binding.file, kSdk);
        files.files.clear();
        EXPECT_TRUE(platform::bindProgramSimConnect().bound);
        EXPECT_EQ(files.loads.size(), 4u);  // two places twice; the kept binding loads nothing
    }
    // The platform's own files again.
    const platform::SimConnectBinding binding = platform::bindProgramSimConnect();
    EXPECT_TRUE(binding.bound);
    EXPECT_EQ(binding.functions[0], proc(&SimConnect_Open));
}

}  // namespace

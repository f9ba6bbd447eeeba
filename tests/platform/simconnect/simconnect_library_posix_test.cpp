// The program's binding on Linux: the in-process functions of the simulated simulator. (On
// Windows the program binds SimConnect.dll: tests/package.)
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
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

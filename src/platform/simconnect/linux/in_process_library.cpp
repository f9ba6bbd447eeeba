// The Linux side of the binding: the SimConnect functions are the simulated simulator's, linked
// into the program, so every place "loads" and every function is found.
#include <cstdlib>
#include <system_error>

#include "platform/simconnect/simconnect.h"
#include "platform/simconnect/simconnect_library.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

template <class Function>
SimConnectProc lf_proc(Function* function) {
    return reinterpret_cast<SimConnectProc>(function);
}

// In the order of kSimConnectFunctions.
const SimConnectTable kInProcessFunctions{
    lf_proc(&SimConnect_Open),
    lf_proc(&SimConnect_Close),
    lf_proc(&SimConnect_CallDispatch),
    lf_proc(&SimConnect_GetLastSentPacketID),
    lf_proc(&SimConnect_SubscribeToSystemEvent),
    lf_proc(&SimConnect_AddToDataDefinition),
    lf_proc(&SimConnect_MapClientEventToSimEvent),
    lf_proc(&SimConnect_AddClientEventToNotificationGroup),
    lf_proc(&SimConnect_SetNotificationGroupPriority),
    lf_proc(&SimConnect_RequestDataOnSimObject),
    lf_proc(&SimConnect_RequestDataOnSimObjectType),
    lf_proc(&SimConnect_SetDataOnSimObject),
    lf_proc(&SimConnect_TransmitClientEvent),
    lf_proc(&SimConnect_AICreateNonATCAircraft),
    lf_proc(&SimConnect_AIRemoveObject),
    lf_proc(&SimConnect_AIReleaseControl),
    lf_proc(&SimConnect_AISetAircraftFlightPlan),
    lf_proc(&SimConnect_AddToFacilityDefinition),
    lf_proc(&SimConnect_RequestFacilityData),
};

class InProcessFiles : public SimConnectFiles {
  public:
    bool load(const fs::path&) override { return true; }
    SimConnectProc function(const char* name) override {
        for (std::size_t i = 0; i < kSimConnectFunctions.size(); ++i) {
            if (std::string_view(kSimConnectFunctions[i]) == name) return kInProcessFunctions[i];
        }
        return nullptr;
    }
};

}  // namespace

SimConnectFiles& platformSimConnectFiles() {
    static InProcessFiles files;
    return files;
}

fs::path programFolder() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path(error) : program.parent_path();
}

std::optional<fs::path> simulatorSdkFolder() {
    const char* folder = std::getenv("MSFS_SDK");
    if (folder == nullptr || *folder == '\0') return std::nullopt;
    return fs::path(folder);
}

void installSimConnect(const SimConnectTable&) {
    // The calls are the in-process functions themselves: nothing to redirect.
}

}  // namespace platform

#pragma once
// Binding SimConnect at run time. On Windows the program loads SimConnect.dll (LoadLibraryW) from
// beside merrowvale.exe, else from the simulator SDK's folder named by MSFS_SDK, and finds each
// function it calls (GetProcAddress); our SimConnect_* calls then go to that DLL. On Linux the
// functions are the in-process simulated simulator's, and the binding always succeeds.
//
// The search itself is the same code on both, over a SimConnectFiles: the real files and calls of
// the platform in the program, scripted ones in tests (a missing file, a missing function).

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A function of a loaded library, cast back to its own type before a call.
using SimConnectProc = void (*)();

// The SimConnect functions the program calls, in the order they are bound.
inline constexpr std::array<const char*, 19> kSimConnectFunctions{
    "SimConnect_Open",
    "SimConnect_Close",
    "SimConnect_CallDispatch",
    "SimConnect_GetLastSentPacketID",
    "SimConnect_SubscribeToSystemEvent",
    "SimConnect_AddToDataDefinition",
    "SimConnect_MapClientEventToSimEvent",
    "SimConnect_AddClientEventToNotificationGroup",
    "SimConnect_SetNotificationGroupPriority",
    "SimConnect_RequestDataOnSimObject",
    "SimConnect_RequestDataOnSimObjectType",
    "SimConnect_SetDataOnSimObject",
    "SimConnect_TransmitClientEvent",
    "SimConnect_AICreateNonATCAircraft",
    "SimConnect_AIRemoveObject",
    "SimConnect_AIReleaseControl",
    "SimConnect_AISetAircraftFlightPlan",
    "SimConnect_AddToFacilityDefinition",
    "SimConnect_RequestFacilityData",
};
using SimConnectTable = std::array<SimConnectProc, kSimConnectFunctions.size()>;

inline constexpr const char* kSimConnectFileName = "SimConnect.dll";

// Where library files are loaded from and how their functions are found.
class SimConnectFiles {
  public:
    virtual ~SimConnectFiles() = default;
    // Loads the library file; false when there is none there or it cannot be loaded.
    virtual bool load(const std::filesystem::path& file) = 0;
    // The named function of the file loaded last; null when that file has none.
    virtual SimConnectProc function(const char* name) = 0;
};

struct SimConnectBinding {
    bool bound = false;
    std::vector<std::filesystem::path> places;  // every place SimConnect.dll was looked for, in order
    std::filesystem::path file;                 // the file that loaded; empty when none did
    std::string missingFunction;                // the first function that file lacks
    SimConnectTable functions{};                // in kSimConnectFunctions order, when bound
};

// Beside the program first, then `<sdkFolder>\SimConnect SDK\lib`; no SDK place without a folder.
std::vector<std::filesystem::path> simConnectPlaces(const std::filesystem::path& programFolder,
                                                    const std::optional<std::filesystem::path>& sdkFolder);

// Loads the first place that loads, and finds every function in it. A file that loads but lacks a
// function ends the search: it is the wrong file, and the report names it.
SimConnectBinding bindSimConnect(SimConnectFiles& files, const std::vector<std::filesystem::path>& places);

// The program's SimConnect, bound at the first success and kept for the process. A failed binding
// is tried again at the next call (the user may have put the DLL in place meanwhile).
SimConnectBinding bindProgramSimConnect();

// For tests: while it lives, the program's binding searches through `files` from the given places,
// and the binding so far is forgotten, before and after. One at a time.
class SimConnectFilesOverride {
  public:
    SimConnectFilesOverride(SimConnectFiles& files, std::vector<std::filesystem::path> places);
    ~SimConnectFilesOverride();
    SimConnectFilesOverride(const SimConnectFilesOverride&) = delete;
    SimConnectFilesOverride& operator=(const SimConnectFilesOverride&) = delete;
};

// --- per platform (linux/in_process_library.cpp; on Windows platform/windows/simconnect/) ---
// The platform's own files: LoadLibraryW and GetProcAddress, or the in-process functions.
SimConnectFiles& platformSimConnectFiles();
// The folder of the running program, and the SDK folder of $MSFS_SDK (none when unset or empty).
std::filesystem::path programFolder();
std::optional<std::filesystem::path> simulatorSdkFolder();
// Makes the SimConnect_* calls go to the bound functions; an empty table unbinds them (on Windows
// the calls then fail with E_FAIL). Linux calls the in-process functions directly.
void installSimConnect(const SimConnectTable& functions);

}  // namespace platform

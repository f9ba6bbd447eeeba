// The Windows binding against our simulated simulator built as SimConnect.dll, which lies beside this
// test program as it would beside merrowvale.exe: the program's binding loads it, and our
// SimConnect_* calls reach it; places in order, a non-ASCII SDK folder, a DLL without the functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/simconnect/dll/sim_world_exports.h"
#include "platform/simconnect/simconnect.h"
#include "platform/simconnect/simconnect_library.h"

namespace fs = std::filesystem;

namespace {

template <class Function>
Function* lf_export(const char* name) {
    HMODULE module = GetModuleHandleW(L"SimConnect.dll");
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A folder of this test's own with a non-ASCII name, removed afterwards.
struct TempFolder {
    fs::path path;
    explicit TempFolder(const std::wstring& name)
        : path(fs::temp_directory_path() / (name + L" \u00FC\u65E5")) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code error;
        fs::remove_all(path, error);
    }
};

// The binding keeps what it loaded for the process; a test lets go of a DLL it loaded from its folder.
void lf_unload(const fs::path& file) {
    if (HMODULE module = GetModuleHandleW(file.c_str())) FreeLibrary(module);
}

TEST(SimConnectDll, TheProgramBindsTheDllBesideItAndItsCallsReachTheSimulator) {
    const platform::SimConnectBinding binding = platform::bindProgramSimConnect();
    ASSERT_TRUE(binding.bound) << binding.missingFunction;
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    EXPECT_EQ(binding.file, fs::path(program).parent_path() / "SimConnect.dll");

    auto* reset = lf_export<void()>("SimWorld_Reset");
    auto* start = lf_export<void()>("SimWorld_StartSimulator");
    auto* step = lf_export<void(double)>("SimWorld_Step");
    auto* count = lf_export<DWORD()>("SimWorld_ObjectCount");
    auto* objectAt = lf_export<BOOL(DWORD, SimWorldObjectInfo*)>("SimWorld_ObjectAt");
    ASSERT_TRUE(reset && start && step && count && objectAt);
    reset();
    HANDLE handle = nullptr;
    // No simulator running yet: the call reaches the DLL and fails there.
    EXPECT_TRUE(FAILED(SimConnect_Open(&handle, "Merrowvale", nullptr, 0, nullptr, 0)));
    start();
    ASSERT_EQ(SimConnect_Open(&handle, "Merrowvale", nullptr, 0, nullptr, 0), S_OK);
    const SIMCONNECT_DATA_INITPOSITION place{33.9462, -118.407, 125.0, 0.0, 0.0, 90.0, 1, 0};
    ASSERT_EQ(SimConnect_AICreateNonATCAircraft(handle, "Boeing 737-800 KLM", "PH-BXA", place, 7), S_OK);
    step(1.0);
    ASSERT_EQ(count(), 2u);  // the user aircraft and ours
    SimWorldObjectInfo info{};
    ASSERT_TRUE(objectAt(1, &info));
    EXPECT_EQ(info.kind, 1u);
    EXPECT_STREQ(info.title, "Boeing 737-800 KLM");
    EXPECT_NEAR(info.latitudeDeg, 33.9462, 1e-6);
    EXPECT_EQ(SimConnect_Close(handle), S_OK);
    reset();
}

TEST(SimConnectDll, TheSdkFolderIsTheSecondPlaceAndMayHaveAnyName) {
    TempFolder folder(L"sdk place");
    const fs::path sdkLib = folder.path / "SimConnect SDK" / "lib";
    fs::create_directories(sdkLib);
    fs::copy_file(platform::programFolder() / "SimConnect.dll", sdkLib / "SimConnect.dll");
    const auto places = platform::simConnectPlaces(folder.path / "program", folder.path);
    const platform::SimConnectBinding binding =
        platform::bindSimConnect(platform::platformSimConnectFiles(), places);
    EXPECT_TRUE(binding.bound);
    EXPECT_EQ(binding.file, sdkLib / "SimConnect.dll");
    lf_unload(sdkLib / "SimConnect.dll");
}

// With no SimConnect.dll beside the program, the one in the folder that MSFS_SDK names (as the
// SDK's installer sets it) is bound.
TEST(SimConnectDll, WithNoneBesideTheProgramTheSdkOfMsfsSdkIsBound) {
    TempFolder sdk(L"MSFS SDK");
    TempFolder program(L"program");
    const fs::path sdkLib = sdk.path / "SimConnect SDK" / "lib";
    fs::create_directories(sdkLib);
    fs::copy_file(platform::programFolder() / "SimConnect.dll", sdkLib / "SimConnect.dll");
    const wchar_t* before = _wgetenv(L"MSFS_SDK");
    const std::wstring saved = before == nullptr ? L"" : before;
    ASSERT_EQ(_wputenv_s(L"MSFS_SDK", sdk.path.c_str()), 0);
    const auto places = platform::simConnectPlaces(program.path, platform::simulatorSdkFolder());
    _wputenv_s(L"MSFS_SDK", saved.c_str());
    const platform::SimConnectBinding binding =
        platform::bindSimConnect(platform::platformSimConnectFiles(), places);
    EXPECT_TRUE(binding.bound);
    EXPECT_EQ(binding.file, sdkLib / "SimConnect.dll");
    lf_unload(sdkLib / "SimConnect.dll");
}

TEST(SimConnectDll, ADllWithoutTheFunctionsOrNoDllIsReported) {
    TempFolder folder(L"wrong dll");
    wchar_t system[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    // A real DLL that is not SimConnect's, under its name.
    fs::copy_file(fs::path(system) / "version.dll", folder.path / "SimConnect.dll");
    platform::SimConnectBinding binding =
        platform::bindSimConnect(platform::platformSimConnectFiles(), {folder.path / "SimConnect.dll"});
    EXPECT_FALSE(binding.bound);
    EXPECT_EQ(binding.file, folder.path / "SimConnect.dll");
    EXPECT_EQ(binding.missingFunction, "SimConnect_Open");
    lf_unload(folder.path / "SimConnect.dll");

    binding = platform::bindSimConnect(platform::platformSimConnectFiles(),
                                       {folder.path / "none" / "SimConnect.dll"});
    EXPECT_FALSE(binding.bound);
    EXPECT_TRUE(binding.file.empty());
}

}  // namespace

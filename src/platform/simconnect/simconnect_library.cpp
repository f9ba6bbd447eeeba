#include "platform/simconnect/simconnect_library.h"

#include <mutex>
#include <utility>

namespace fs = std::filesystem;

namespace platform {
namespace {

struct ProgramBinding {
    std::mutex mutex;
    std::optional<SimConnectBinding> bound;
    SimConnectFiles* overrideFiles = nullptr;
    std::vector<fs::path> overridePlaces;
};

ProgramBinding& lf_program() {
    static ProgramBinding program;
    return program;
}

// Back to no binding: the calls fail until the next successful one.
void lf_forget(ProgramBinding& program) {
    program.bound.reset();
    installSimConnect(SimConnectTable{});
}

}  // namespace

std::vector<fs::path> simConnectPlaces(const fs::path& programFolder,
                                       const std::optional<fs::path>& sdkFolder) {
    std::vector<fs::path> places{programFolder / kSimConnectFileName};
    if (sdkFolder && !sdkFolder->empty())
        places.push_back(*sdkFolder / "SimConnect SDK" / "lib" / kSimConnectFileName);
    return places;
}

SimConnectBinding bindSimConnect(SimConnectFiles& files, const std::vector<fs::path>& places) {
    SimConnectBinding binding;
    binding.places = places;
    for (const fs::path& place : places) {
        if (!files.load(place)) continue;
        binding.file = place;
        for (std::size_t i = 0; i < kSimConnectFunctions.size(); ++i) {
            binding.functions[i] = files.function(kSimConnectFunctions[i]);
            if (binding.functions[i] == nullptr) {
                binding.missingFunction = kSimConnectFunctions[i];
                binding.functions = {};
                return binding;
            }
        }
        binding.bound = true;
        return binding;
    }
    return binding;
}

SimConnectBinding bindProgramSimConnect() {
    ProgramBinding& program = lf_program();
    std::lock_guard lock(program.mutex);
    if (program.bound) return *program.bound;
    SimConnectBinding binding = program.overrideFiles != nullptr
                                    ? bindSimConnect(*program.overrideFiles, program.overridePlaces)
                                    : bindSimConnect(platformSimConnectFiles(),
                                                     simConnectPlaces(programFolder(), simulatorSdkFolder()));
    if (binding.bound) {
        installSimConnect(binding.functions);
        program.bound = binding;
    }
    return binding;
}

SimConnectFilesOverride::SimConnectFilesOverride(SimConnectFiles& files, std::vector<fs::path> places) {
    ProgramBinding& program = lf_program();
    std::lock_guard lock(program.mutex);
    lf_forget(program);
    program.overrideFiles = &files;
    program.overridePlaces = std::move(places);
}

SimConnectFilesOverride::~SimConnectFilesOverride() {
    ProgramBinding& program = lf_program();
    std::lock_guard lock(program.mutex);
    lf_forget(program);
    program.overrideFiles = nullptr;
    program.overridePlaces.clear();
}

}  // namespace platform

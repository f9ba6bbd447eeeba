// A package's manifest.json.
#include "airports/package_manifest.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("package/manifest.json", data, size);
    (void)mrw::gf_readManifest("package/manifest.json");
    return 0;
}

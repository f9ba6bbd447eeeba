// A package's manifest.json, found from a file of the package as the airports scan looks for it.
#include "airports/package_manifest.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("package/manifest.json", data, size);
    (void)mrw::gf_searchManifest("package/scenery/airport.bgl");
    return 0;
}

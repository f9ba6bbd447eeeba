// versions.json from the download site, evaluated as the version check does (its downloads go to
// a closed local port and fail at once).
#include "app/updater_internal.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    (void)mrw::gf_applyVersions(mrwfuzz::asText(data, size));
    return 0;
}

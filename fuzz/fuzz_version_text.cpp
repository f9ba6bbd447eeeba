// Version texts as parameters.xml and learned airport files hold them.
#include "foundation/version_data.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const mrw::VersionData version(mrwfuzz::asText(data, size));
    (void)version.toString();
    return 0;
}

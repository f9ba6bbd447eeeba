// RealTraffic's answer to "Qs999=version" on the TCP link.
#include "fuzz_support.h"
#include "traffic/feed/realtraffic_link.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrw::lf_processRTVersion(mrwfuzz::asText(data, size));
    return 0;
}

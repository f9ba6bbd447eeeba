// RealTraffic's weather datagrams as the QNH Reader takes them.
#include "fuzz_support.h"
#include "traffic/feed/qnh_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mrw::QnhReader& reader = []() -> mrw::QnhReader& {
        mrwfuzz::enterProgramFolder();
        return *new mrw::QnhReader();  // never destroyed, as the program's reader
    }();
    reader.onDatagram(mrwfuzz::asText(data, size));
    return 0;
}

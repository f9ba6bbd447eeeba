// output/LiveriesScanned.xml as the start-up reads it back.
#include <exception>

#include "aircraft/liveries_scanned_xml.h"
#include "foundation/file_names.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput(mrw::g_liveriesScannedFile, data, size);
    try {
        mrw::gf_readLiveriesScanned();
    } catch (const std::exception&) {
        // The user errors of a bad file: expected.
    }
    return 0;
}

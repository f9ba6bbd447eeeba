// The encrypted data files (dbase.enc, airports.enc, AIG-regcodes.enc) through the stream decryption.
#include "foundation/data_decryption.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("input/data.enc", data, size);
    (void)mrw::gf_streamDecrypt("input/data.enc", "input/data.xml");
    return 0;
}

// The registration-code lists: input/AIG-regcodes.xml and the user's .TXT files.
#include <vector>

#include "aircraft/regcode_readers.h"
#include "foundation/file_names.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    std::vector<mrw::RegcodeEntry> entries;
    mrwfuzz::writeInput(mrw::g_aigRegcodesXmlFile, data, size);
    (void)mrw::gf_readAigRegcodes(entries);
    mrwfuzz::writeInput("regcodes/MINE.TXT", data, size);
    (void)mrw::gf_readRegcodeFiles("regcodes", entries);
    return 0;
}

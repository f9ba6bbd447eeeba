// Text files of any encoding: the charset detection and the line reader.
#include "foundation/text_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("input.txt", data, size);
    mrw::LineList lines;
    mrw::gf_readTextLines(mrw::gf_detectCharset("input.txt"), "input.txt", lines);
    return 0;
}

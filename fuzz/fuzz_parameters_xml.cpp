// parameters.xml in the data directory, loaded whole.
#include <exception>

#include "config/parameters_xml.h"
#include "foundation/file_system.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput(mrw::g_parametersFile(), data, size);
    mrw::gf_loadParameters();
    return 0;
}

// An airport file's <parkpos> elements, and a learned airport file laid over the stands read.
#include <pugixml.hpp>

#include "airports/airport_file_reader.h"
#include "airports/learned_airport_files.h"
#include "airports/park_airport_file.h"
#include "foundation/user_error_exception.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    pugi::xml_document document;
    if (document.load_buffer(data, size)) {
        try {
            mrw::gf_readParkPositions(document);
        } catch (const mrw::UserErrorException&) {
            // Bad stand ids: shown to the user, the stands read so far kept.
        }
    }
    mrwfuzz::writeInput("airports/learned/stock/EHAM.xml", data, size);
    mrw::lf_readLearned("airports/learned/stock/EHAM.xml", mrw::ApfInfo{});
    mrw::gf_clearStands();
    return 0;
}

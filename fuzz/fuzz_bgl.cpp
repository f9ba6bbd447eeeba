// BGL scenery files through the airports scan's reader, with two airports known.
#include <stdexcept>

#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "airports/bgl_airport_reader.h"
#include "foundation/file_names.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    static const bool known = [] {
        for (const char* code : {"EGLL", "EHAM"}) {
            mrw::g_knownAirportCodes.insert(mrw::FixedCode<4>(code));
            mrw::g_icaoAirportCodes.insert(mrw::FixedCode<4>(code));
        }
        std::filesystem::create_directories(mrw::g_mySimaddonFolder);
        std::filesystem::create_directories(mrw::g_myThirdpartyFolder);
        return true;
    }();
    (void)known;
    mrwfuzz::writeInput("Community/pkg/scenery/airport.bgl", data, size);
    try {
        mrw::lf_processBGLfile("Community/pkg/scenery/airport.bgl");
    } catch (const std::out_of_range&) {
        // A record that runs past its data ends the file, as the reader documents.
    }
    mrw::g_scanReport.clear();
    return 0;
}

// aircraft.cfg through both processors: the generic one and the IVAO one.
#include <exception>

#include "aircraft/ivao_liveries.h"
#include "aircraft/livery_extraction.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("Community/pack/SimObjects/Airplanes/A/aircraft.cfg", data, size);
    for (const bool ivao : {false, true}) {
        mrw::LiveriesScanState state;
        try {
            if (ivao) {
                (void)mrw::gf_searchLiveriesinIVAOFile(state, 1,
                                                       "Community/pack/SimObjects/Airplanes/A/aircraft.cfg");
            } else {
                (void)mrw::gf_searchLiveriesinFile(state, 1,
                                                   "Community/pack/SimObjects/Airplanes/A/aircraft.cfg");
            }
        } catch (const std::exception&) {
            // Logged and passed on by the processors: the file's liveries are lost, nothing else.
        }
    }
    return 0;
}

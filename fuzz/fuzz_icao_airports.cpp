// input/ICAO_airports.txt as the airports scan reads it.
#include <stdexcept>

#include "airports/airports_database.h"
#include "airports/airports_scan.h"
#include "foundation/file_names.h"
#include "foundation/user_error_exception.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput(mrw::g_icaoAirportsFile, data, size);
    try {
        mrw::gf_readIcaoAirports();
    } catch (const mrw::UserErrorException&) {
        // A missing list is the user's error, shown to the user.
    } catch (const std::invalid_argument&) {
        // A part that is no code: the scan ends with the code's error, as the reader documents.
    }
    mrw::g_icaoAirportCodes.clear();
    return 0;
}

// The aircraft and airports databases as shipped: the input is encrypted into dbase.enc and
// airports.enc, which the readers decrypt and read.
#include <exception>
#include <fstream>
#include <string>

#include "aircraft/dbase_reader.h"
#include "airports/airports_database.h"
#include "airports/airports_database_internal.h"
#include "foundation/file_names.h"
#include "fuzz_support.h"
#include "tools/encrypt-data/data_encryption.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    const std::string encrypted = mrw::gf_encryptData(mrwfuzz::asText(data, size));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(encrypted.data());
    mrwfuzz::writeInput(mrw::g_dbaseEncFile, bytes, encrypted.size());
    mrwfuzz::writeInput(mrw::g_airportsEncFile, bytes, encrypted.size());
    try {
        (void)mrw::gf_readDbase();
    } catch (const std::exception&) {
        // A missing section or an unreadable file: the user's error, shown to the user.
    }
    mrw::gf_resetAirportsDatabase();
    try {
        (void)mrw::gf_readAirports();
    } catch (const std::exception&) {
        // Likewise.
    }
    return 0;
}

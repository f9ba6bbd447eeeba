// Zip archives as the tblo.zip and installer readers open them, with a bound on each entry.
#include <exception>
#include <string>

#include "foundation/zip_archive.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("tblo.zip", data, size);
    try {
        const mrw::ZipArchive archive = mrw::ZipArchive::openForReading("tblo.zip");
        for (const std::string& name : archive.entryNames()) {
            try {
                (void)archive.read(name, std::size_t{1} << 20);
            } catch (const std::exception&) {
            }
        }
    } catch (const std::exception&) {
    }
    return 0;
}

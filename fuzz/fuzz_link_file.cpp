// Link files of airports/my_simaddon and airports/my_thirdparty, and the learned file they map to,
// which must stay inside airports/learned.
#include <cstdlib>
#include <string>

#include "airports/airport_file_lookup.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput("airports/my_simaddon/EHAM.txt", data, size);
    std::string reference;
    if (!mrw::gf_readApfLink("airports/my_simaddon/EHAM.txt", reference)) return 0;
    const std::filesystem::path learned = mrw::gf_learnedApfPath(reference, "Publisher");
    const std::filesystem::path normal = learned.lexically_normal();
    if (!learned.empty() && (normal.has_root_path() || normal.begin()->string() != "airports")) std::abort();
    return 0;
}

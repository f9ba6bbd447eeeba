#include "fuzz_support.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace mrwfuzz {

namespace fs = std::filesystem;

void enterProgramFolder() {
    static const bool entered = [] {
        std::string pattern = (fs::temp_directory_path() / "mrw-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        const fs::path folder(pattern);
        // The data directories are fixed at first use: point them into the folder first.
        ::setenv("MRW_ROAMING_APPDATA", (folder / "roaming").c_str(), 1);
        ::setenv("MRW_LOCAL_APPDATA", (folder / "local").c_str(), 1);
        ::setenv("MRW_DOWNLOAD_SITE", "http://127.0.0.1:9", 1);
        fs::create_directories(folder / "roaming" / "Merrowvale");
        fs::create_directories(folder / "local");
        fs::current_path(folder);
        return true;
    }();
    (void)entered;
}

void writeInput(const fs::path& file, const std::uint8_t* data, std::size_t size) {
    if (file.has_parent_path()) fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace mrwfuzz

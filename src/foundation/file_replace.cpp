#include "foundation/file_replace.h"

#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

namespace mrw {

namespace fs = std::filesystem;

fs::path gf_temporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    fs::path tmp = target;
    tmp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
    return tmp;
}

bool gf_replaceFile(const fs::path& target, std::string_view bytes) {
    const fs::path tmp = gf_temporarySibling(target);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out.is_open()) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(tmp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return false;
    }
    return true;
}

}  // namespace mrw

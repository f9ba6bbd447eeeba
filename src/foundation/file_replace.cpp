#include "foundation/file_replace.h"

#include <atomic>
#include <string>
#include <system_error>

#include "foundation/durable_file.h"

namespace mrw {

namespace fs = std::filesystem;

fs::path gf_temporarySibling(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    fs::path tmp = target;
    tmp += ".tmp" + std::to_string(gf_processId()) + "_" + std::to_string(counter.fetch_add(1));
    return tmp;
}

bool gf_replaceFile(const fs::path& target, std::string_view bytes) {
    const fs::path tmp = gf_temporarySibling(target);
    if (!gf_writeDurably(tmp, bytes) || !gf_renameDurably(tmp, target)) {
        std::error_code ec;
        fs::remove(tmp, ec);
        return false;
    }
    return true;
}

void gf_copyFileOver(const fs::path& source, const fs::path& target, std::error_code& ec) {
    const fs::path tmp = gf_temporarySibling(target);
    if (fs::copy_file(source, tmp, ec); !ec) fs::rename(tmp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
    }
}

}  // namespace mrw

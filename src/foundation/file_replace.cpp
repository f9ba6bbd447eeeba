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

}  // namespace mrw

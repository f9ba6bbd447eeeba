#include "aircraft/plain_file_guard.h"

#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"

#include <fmt/format.h>

#include <exception>

namespace mrw {

PlainFileGuard::~PlainFileGuard() {
    if (removed) return;
    try {
        gf_removeFile(path);
    } catch (const std::exception& e) {
        gf_logError(fmt::format("Warning: could not remove {}, errorcode: {}", path_to_utf8(path), e.what()));
    }
}

void PlainFileGuard::removeNow() {
    removed = true;
    gf_removeFile(path);
}

}  // namespace mrw

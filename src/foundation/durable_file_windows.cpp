#include "foundation/durable_file.h"

#include <algorithm>
#include <limits>

#include "platform/windows_types.h"

namespace mrw {

namespace fs = std::filesystem;

bool gf_writeDurably(const fs::path& path, std::string_view bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) != 0 && written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(file) != 0;
    return CloseHandle(file) != 0 && ok;
}

bool gf_renameDurably(const fs::path& from, const fs::path& target) {
    // Write-through: the call returns when the rename is on the disk.
    return MoveFileExW(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

unsigned long gf_processId() {
    return GetCurrentProcessId();
}

}  // namespace mrw

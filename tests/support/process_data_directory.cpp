#include "support/process_data_directory.h"

#include "foundation/file_system.h"
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace mrwtest {

void useProcessDataDirectory() {
    static const bool done = [] {
        // Owned by a static so that the folder is removed when the test process ends.
        static const auto roaming = std::make_unique<TempDir>();
        ::setenv("MRW_ROAMING_APPDATA", roaming->path().c_str(), 1);
        std::filesystem::create_directories(mrw::g_dataDirectory());
        return true;
    }();
    (void)done;
}

void emptyProcessDataDirectory() {
    useProcessDataDirectory();
    for (const auto& entry : std::filesystem::directory_iterator(mrw::g_dataDirectory()))
        std::filesystem::remove_all(entry.path());
}

}  // namespace mrwtest

#include "support/process_data_directory.h"

#include "foundation/file_system.h"
#include "foundation/text_encoding.h"
#include "support/environment_variable.h"
#include "support/test_support.h"

#include <filesystem>
#include <memory>

namespace mrwtest {

void useProcessDataDirectory() {
    static const bool done = [] {
        // Owned by a static so that the folder is removed when the test process ends.
        static const auto roaming = std::make_unique<TempDir>();
        setEnvironmentVariable("MRW_ROAMING_APPDATA", mrw::path_to_utf8(roaming->path()));
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

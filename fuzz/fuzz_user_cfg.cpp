// The simulator's UserCfg.opt with its InstalledPackagesPath line.
#include "config/packages_folder.h"
#include "foundation/file_system.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mrwfuzz::enterProgramFolder();
    mrwfuzz::writeInput(mrw::gf_localAppDataPath() / "MSFSPackages" / "UserCfg.opt", data, size);
    (void)mrw::gf_isPackagesPath(mrw::gf_installedPackagesPath());
    return 0;
}

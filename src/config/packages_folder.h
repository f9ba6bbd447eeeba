#pragma once
// Finding the active simulator's packages folder (the one that holds Community and Official, or
// Official2024 for the 2024 simulator): the Steam installation first, then the folder that the
// simulator's UserCfg.opt names on its InstalledPackagesPath line. Every choice follows g_msfs2020.
//
// A status query that fails for another reason than a missing path throws
// std::filesystem::filesystem_error to the caller.

#include <filesystem>

namespace mrw {

class StringParameter;

// The active simulator's install-path setting: MSFS_INSTALL_PATH for the 2020 simulator, else
// MSFS_2024_INSTALL_PATH.
StringParameter& gf_activeInstallPath();

// The Microsoft Store package family of the active simulator.
std::filesystem::path gf_storePackageFamily();
// The active simulator's folder under the roaming application-data folder (Steam installation).
std::filesystem::path gf_steamFolderName();

// The first UserCfg.opt candidate that exists (each missing one logged); empty when none does.
std::filesystem::path gf_findUserCfg();
// The Steam packages folder when it exists (logged), else empty. Its validity is not tested.
std::filesystem::path gf_steamPackagesPath();
// The folder named by the first InstalledPackagesPath line of UserCfg.opt that is longer than 20
// bytes, when that folder exists; else empty.
std::filesystem::path gf_installedPackagesPath();
// True for a directory holding the folders Community and Official (2020) or Official2024 (2024).
bool gf_isPackagesPath(const std::filesystem::path& path);

// Finds the packages folder; when found, stores it in the active simulator's install-path setting
// (saved), in ALL_INSTALL_PATH (not saved) and shows it. False when none was found.
bool gf_detectPackagesPath();

// The active simulator's stored packages folder joined with the relative path.
std::filesystem::path gf_installPathOf(const std::filesystem::path& relative);

}  // namespace mrw

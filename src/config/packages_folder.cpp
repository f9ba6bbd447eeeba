#include "config/packages_folder.h"

#include "config/parameter_catalogue.h"
#include "config/parameter_display.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/simulator_choice.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"

#include <fmt/format.h>

#include <array>
#include <string>
#include <variant>

namespace mrw {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kShortLineBytes = 20;  // a line this long or shorter is never the key's line

// The value of a UserCfg.opt line: the whole line without a double quote, else the text between
// the first two double quotes (empty when there is no second one or nothing between them).
std::string lf_lineValue(const std::string& line) {
    const auto q1 = line.find('"');
    if (q1 == std::string::npos) return line;
    const auto q2 = line.find('"', q1 + 1);
    if (q2 == std::string::npos || q2 == q1 + 1) return {};
    return line.substr(q1 + 1, q2 - q1 - 1);
}

}  // namespace

fs::path gf_storePackageFamily() {
    return g_msfs2020.load() ? "Microsoft.FlightSimulator_8wekyb3d8bbwe"
                             : "Microsoft.Limitless_8wekyb3d8bbwe";
}

fs::path gf_steamFolderName() {
    return g_msfs2020.load() ? "Microsoft Flight Simulator" : "Microsoft Flight Simulator 2024";
}

fs::path gf_findUserCfg() {
    const fs::path local = gf_localAppDataPath();
    const fs::path roaming = gf_appDataPath();
    const std::array<fs::path, 4> candidates{
        local / "Packages" / gf_storePackageFamily() / "LocalCache" / "UserCfg.opt",
        roaming / gf_steamFolderName() / "UserCfg.opt",
        local / "Packages" / "Microsoft.FlightDashboard_8wekyb3d8bbwe" / "LocalCache" / "UserCfg.opt",
        local / "MSFSPackages" / "UserCfg.opt",
    };
    for (const fs::path& candidate : candidates) {
        if (fs::exists(candidate)) return candidate;
        gf_logLine(fmt::format("MSFS detection, not found: {}", path_to_utf8(candidate)));
    }
    return {};
}

fs::path gf_steamPackagesPath() {
    const fs::path packages = gf_appDataPath() / gf_steamFolderName() / "Packages";
    if (!fs::exists(packages)) return {};
    gf_logLine(fmt::format("Steam packages: {}", path_to_utf8(packages)));
    return packages;
}

fs::path gf_installedPackagesPath() {
    const fs::path userCfg = gf_findUserCfg();
    if (userCfg.empty() || !fs::exists(userCfg)) {
        gf_logLine("No UserCfg.opt found?");
        return {};
    }
    TextFile file(userCfg);
    const auto read = file.readLines(32);
    if (std::holds_alternative<const LineList*>(read)) {
        for (const std::string& line : file.lines()) {
            if (line.size() <= kShortLineBytes) continue;
            if (line.find("InstalledPackagesPath") == std::string::npos) continue;
            const fs::path value(lf_lineValue(line));
            gf_logLine(fmt::format("UserCfg.opt: InstalledPackagesPath={}", path_to_utf8(value)));
            // A path the system cannot even look at (too long, say) is no folder of packages.
            std::error_code error;
            return fs::exists(value, error) ? value : fs::path();
        }
    }
    gf_logLine("UserCfg.opt: InstalledPackagesPath=???");
    return {};
}

StringParameter& gf_activeInstallPath() {
    ParameterCatalogue& p = g_parameters();
    return g_msfs2020.load() ? p.MSFS_INSTALL_PATH : p.MSFS_2024_INSTALL_PATH;
}

bool gf_isPackagesPath(const fs::path& path) {
    const fs::path& official = g_msfs2020.load() ? g_officialName : g_official2024Name;
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error) &&
           fs::is_directory(path / g_communityName, error) && fs::is_directory(path / official, error);
}

bool gf_detectPackagesPath() {
    fs::path found = gf_steamPackagesPath();
    if (!gf_isPackagesPath(found)) {
        found = gf_installedPackagesPath();
        if (!gf_isPackagesPath(found)) return false;
    }
    const std::string text = path_to_utf8(found);
    gf_activeInstallPath().setAndSave(text);
    ControlParameter& shown = g_parameters().ALL_INSTALL_PATH;
    shown.current.set(text);
    gf_showStringParameter(shown);
    return true;
}

fs::path gf_installPathOf(const fs::path& relative) {
    return utf8_to_path(gf_activeInstallPath().current.get()) / relative;
}

}  // namespace mrw

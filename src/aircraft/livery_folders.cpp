#include "aircraft/livery_folders.h"

#include "config/parameter_catalogue.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

namespace mrw {

namespace {

namespace fs = std::filesystem;

// One AI package: its name in AI_PACKAGE_SELECTOR's texts, the folder-name parts that identify it
// (any one, case-sensitive) and the label of its log line.
struct PackageFinder {
    std::string_view name;
    std::vector<std::string_view> nameParts;
    std::string_view label;
};

const std::array<PackageFinder, 4>& lf_packageFinders() {
    static const auto* finders = new std::array<PackageFinder, 4>{{
        {"AIG", {"aig-aitraffic-oci"}, "AIG"},
        {"FSLTL", {"fsltl-traffic-base"}, "FSLTL"},
        {"JF", {"justflight-aircraft-traffic-fleet", "justflight-fstraffic-module"}, "JF"},
        {"MTL", {"IVAO_MTL"}, "IVAO_MTL"},
    }};
    return *finders;
}

const PackageFinder& lf_userAiTrafficFinder() {
    static const auto* finder = new PackageFinder{"", {"user-aitraffic"}, "user-aitraffic"};
    return *finder;
}

bool lf_takesName(const PackageFinder& finder, std::string_view name) {
    if (name.find("_CVT_") != std::string_view::npos) return false;
    return std::any_of(finder.nameParts.begin(), finder.nameParts.end(),
                       [&](std::string_view part) { return name.find(part) != std::string_view::npos; });
}

// Appends the first entry of the Community folder (in name order) whose name the finder takes.
// Names are compared as UTF-8, so a name that no code page holds is simply not taken.
void lf_findPackageFolder(const PackageFinder& finder, const fs::path& community, LiveryFolderList& folders) {
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(community))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries) {
        if (!lf_takesName(finder, path_to_utf8(entry.filename()))) continue;
        gf_logLine(fmt::format("Automatic {} scan found folder: '{}'", finder.label, path_to_utf8(entry)));
        folders.push_back(entry);
        return;
    }
}

// The package names of one AI_PACKAGE_SELECTOR text ("MTL, AIG" gives MTL and AIG).
std::vector<std::string_view> lf_orderingNames(std::string_view text) {
    std::vector<std::string_view> names;
    while (!text.empty()) {
        const auto comma = text.find(", ");
        names.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 2);
    }
    return names;
}

}  // namespace

void gf_collectLfolders(LiveryFolderList& folders) {
    for (const StringParameter& parameter : g_parameters().lfolder) {
        const std::string value = parameter.current.get();
        if (value.empty()) continue;
        const fs::path folder(utf8_to_wide(value));
        std::error_code error;
        if (!fs::exists(folder, error)) {
            gf_logError(fmt::format("{}: '{}' does not exist", parameter.name, value));
            throw UserErrorException(
                243, fmt::format("the path pointed to by parameter '{}' does not exist, see Log.txt!",
                                 parameter.name));
        }
        folders.push_back(folder);
    }
}

void gf_autoDetectAiPackages(const fs::path& community, LiveryFolderList& folders) {
    const StringComboParameter& selector = g_parameters().AI_PACKAGE_SELECTOR;
    const auto index = selector.indexOfCurrent();
    if (!index) throw std::runtime_error(fmt::format("{} not set", selector.name));
    for (const std::string_view name : lf_orderingNames(selector.choices[*index])) {
        const auto& finders = lf_packageFinders();
        const auto finder = std::find_if(finders.begin(), finders.end(),
                                         [&](const PackageFinder& f) { return f.name == name; });
        if (finder != finders.end()) lf_findPackageFolder(*finder, community, folders);
    }
    lf_findPackageFolder(lf_userAiTrafficFinder(), community, folders);
}

}  // namespace mrw

#include "config/first_run.h"

#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/version_data.h"

#include <fmt/format.h>

#include <filesystem>

namespace mrw {

namespace {

namespace fs = std::filesystem;

// Removes the file when it is there; a status or removal error throws.
void lf_removeIfPresent(const fs::path& path) {
    if (fs::exists(path)) fs::remove(path);
}

void lf_switchOnAndSave(CheckBoxParameter& scan) {
    scan.current = true;
    scan.save();
    scan.showCheck();
}

// Stores the program's version text as PROGRAM_VERSION's value.
void lf_storeProgramVersion() {
    g_parameters().PROGRAM_VERSION.setAndSave(g_programVersion.toString());
}

}  // namespace

void lf_prepareParameters() {
    if (gf_loadParameters()) {
        lf_switchOnAndSave(g_parameters().SCAN_LIVERIES);
        lf_switchOnAndSave(g_parameters().SCAN_AIRPORTS);
        return;
    }
    lf_checkVersionUpdate();
}

void lf_checkVersionUpdate() {
    StringParameter& programVersion = g_parameters().PROGRAM_VERSION;
    const std::string storedText = programVersion.current.get();
    if (storedText == programVersion.defaultValue.get()) {
        lf_storeProgramVersion();
        return;
    }
    lf_removeIfPresent(g_airportsXmlFile);
    lf_removeIfPresent(g_aigRegcodesXmlFile);
    lf_removeIfPresent(g_dbaseXmlFile);

    const VersionData stored(storedText);
    // A text that is no version reads as 0.0.0, which no release ever had: the version is unknown,
    // and the shipped encrypted files must not be removed on its account.
    const bool known = stored != VersionData{};
    if (known && stored == g_programVersion) return;
    lf_storeProgramVersion();
    if (known && stored > g_programVersion) return;

    gf_logLine(fmt::format("This is a version update from {} -> {}", known ? stored.toString() : storedText,
                           g_programVersion.toString()));
    if (known && stored < VersionData(12, 0, 0)) {
        lf_removeIfPresent(g_airportsEncFile);
        lf_removeIfPresent(g_aigRegcodesEncFile);
        lf_removeIfPresent(g_dbaseEncFile);
    }
    if (fs::exists(g_newVersionFolder)) fs::remove_all(g_newVersionFolder);
}

}  // namespace mrw

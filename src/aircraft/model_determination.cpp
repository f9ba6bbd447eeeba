#include "aircraft/model_determination.h"

#include "aircraft/aircraft_cfg_lines.h"
#include "aircraft/code_tables.h"
#include "aircraft/dbase_lookups.h"
#include "foundation/text_encoding.h"
#include "foundation/text_helpers.h"

#include <fmt/format.h>

namespace mrw {

namespace {

// The path separators: '/' on this platform; '\' as well, as the Windows paths write it.
bool lf_isSeparator(char c) {
    return c == '/' || c == '\\';
}

// Splits off the last path component: `rest` keeps everything before its separator. False when
// there is no separator.
bool lf_popComponent(std::string_view& rest, std::string_view& component) {
    std::size_t pos = rest.size();
    while (pos > 0 && !lf_isSeparator(rest[pos - 1]))
        --pos;
    if (pos == 0) return false;
    component = rest.substr(pos);
    rest = rest.substr(0, pos - 1);
    return true;
}

// The accepted code: known, corrected through the fixes, or reported and empty.
std::string lf_acceptModel(const std::string& code, const std::filesystem::path& cfgPath,
                           ScanReports& reports) {
    if (gf_isKnownModel(code)) return code;
    if (auto fixed = gf_fixedModelCode(code)) {
        reports.addFix(fmt::format("Model fix: {} found in {} changed into {}", code,
                                   gf_narrowPathText(cfgPath), *fixed));
        return *fixed;
    }
    reports.addInvalidModel(code, cfgPath);
    return {};
}

}  // namespace

std::string gf_ivaoFolderCode(std::string_view pathText) {
    // The patterns ".+\\IVAO_MTL\\SimObjects\\Airplanes\\IVAO_(\w+)\\aircraft.cfg$" and the same with
    // ivao_x-csl, matched from the end: each component between separators is fixed.
    std::string_view rest = pathText;
    std::string_view file, aircraft, airplanes, simObjects, package;
    if (!lf_popComponent(rest, file) || !lf_popComponent(rest, aircraft) ||
        !lf_popComponent(rest, airplanes) || !lf_popComponent(rest, simObjects) ||
        !lf_popComponent(rest, package) || rest.empty()) {
        return {};
    }
    // "aircraft.cfg": the pattern's '.' takes any character.
    if (file.size() != 12 || !gf_upperEquals("AIRCRAFT", file.substr(0, 8)) ||
        !gf_upperEquals("CFG", file.substr(9))) {
        return {};
    }
    if (!gf_upperEquals("AIRPLANES", airplanes) || !gf_upperEquals("SIMOBJECTS", simObjects)) return {};
    if (!gf_upperEquals("IVAO_MTL", package) && !gf_upperEquals("IVAO_X-CSL", package)) return {};
    if (aircraft.size() <= 5 || !gf_upperEquals("IVAO_", aircraft.substr(0, 5))) return {};
    const std::string_view code = aircraft.substr(5);
    for (const char c : code) {
        if (!gf_isWordChar(c)) return {};
    }
    for (const char c : rest) {
        if (c == '\n' || c == '\r') return {};
    }
    return std::string(code);
}

std::string gf_modelFromIvaoPath(const std::filesystem::path& cfgPath, ScanReports& reports) {
    std::string code = gf_ivaoFolderCode(path_to_utf8(cfgPath));
    if (code.empty()) {
        reports.addInvalidModel("  ", cfgPath);
        return {};
    }
    if (code.size() > 4) code.resize(4);  // IVAO_B738WLfa gives B738; the case stays as written
    return lf_acceptModel(code, cfgPath, reports);
}

std::string gf_modelFromCfg(const std::filesystem::path& cfgPath, const std::vector<std::string>& lines,
                            ScanReports& reports) {
    for (const std::string& line : lines) {
        const std::string code = gf_cfgIcaoTypeDesignator(line);
        if (!code.empty()) return lf_acceptModel(code, cfgPath, reports);
    }
    return gf_modelFromBaseContainer(cfgPath, lines, reports);
}

std::string gf_modelFromBaseContainer(const std::filesystem::path& cfgPath,
                                      const std::vector<std::string>& lines, ScanReports& reports) {
    for (const std::string& line : lines) {
        const std::string code = gf_cfgBaseContainer(line);
        if (!code.empty()) return lf_acceptModel(code, cfgPath, reports);
    }
    // These packages of the simulator's own airliners are skipped without a word.
    const std::string pathText = path_to_utf8(cfgPath);
    if (pathText.find("pmdg-aircraft-7") != std::string::npos ||
        pathText.find("fnx-aircraft-3") != std::string::npos) {
        return {};
    }
    reports.addInvalidCfgFile("Line icao_type_designator= is missing in [General] section of " +
                              gf_narrowPathText(cfgPath));
    return {};
}

}  // namespace mrw

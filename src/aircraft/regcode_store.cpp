#include "aircraft/regcode_store.h"

#include <exception>
#include <filesystem>
#include <string_view>

#include <fmt/format.h>

#include "aircraft/aircraft_texts.h"
#include "aircraft/livery_catalogue_internal.h"
#include "aircraft/livery_data.h"
#include "aircraft/plain_file_guard.h"
#include "aircraft/regcode_store_internal.h"
#include "foundation/data_decryption.h"
#include "foundation/file_names.h"
#include "foundation/file_system.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"

namespace mrw {
namespace fs = std::filesystem;

namespace {

const fs::path kOfflineRegcodesFile = g_infoFolder / "OfflineRegcodes.txt";

constexpr std::size_t kAigEntriesReserved = 7000;
constexpr std::size_t kUserEntriesReserved = 1000;

// Decrypts input/AIG-regcodes.enc into input/AIG-regcodes.xml; false when that fails.
bool lf_decryptAigRegcodes() {
    return gf_streamDecrypt(g_aigRegcodesEncFile, g_aigRegcodesXmlFile);
}

// Writes a report file; a failure is logged as one, and the caller then reports no file.
bool lf_writeReport(const std::vector<std::string>& lines, const fs::path& path) {
    if (gf_writeLines(lines, path)) return true;
    gf_logError(fmt::format("Failed to write file {}", path_to_utf8(path)));
    return false;
}

std::size_t lf_appendDontUseTitles(const std::vector<RegcodeEntry>& entries) {
    std::size_t count = 0;
    for (const RegcodeEntry& entry : entries) {
        if (!entry.regcodes.empty()) continue;
        g_dontUseTitles().push_back(entry.liveryTitle);
        ++count;
    }
    return count;
}

void lf_readAigDontUseTitles() {
    std::vector<RegcodeEntry> entries;
    entries.reserve(kAigEntriesReserved);
    gf_readAigRegcodes(entries);  // the reader logs its own errors
    const std::size_t count = lf_appendDontUseTitles(entries);
    gf_logLine(fmt::format("{:5} don't use title{} read", count, gf_pluralS(count)));
}

void lf_readMyDontUseTitles() {
    std::vector<RegcodeEntry> entries;
    entries.reserve(kUserEntriesReserved);
    gf_readRegcodeFiles(g_myRegcodesFolder, entries);  // the reader logs its own errors
    const std::size_t count = lf_appendDontUseTitles(entries);
    gf_logLine(fmt::format("{:5} don't use title{} read from files in {}", count, gf_pluralS(count),
                           path_to_utf8(g_myRegcodesFolder)));
}

void lf_readAigRegcodeFile() {
    const std::string path = path_to_utf8(g_aigRegcodesXmlFile);
    g_offlineRegcodeLines().push_back(fmt::format("Processing file {}", path));
    std::vector<RegcodeEntry> entries;
    entries.reserve(kAigEntriesReserved);
    if (!gf_readAigRegcodes(entries)) {
        g_offlineRegcodeLines().push_back(
            fmt::format("There were errors processing the AIG-regcode file '{}', see Log.txt", path));
    }
    lf_mergeRegcodes(entries);  // what was read is merged, also after errors
}

void lf_readMyRegcodeFiles() {
    if (!fs::exists(g_myRegcodesFolder) ||
        gf_countRegularFiles(fs::directory_iterator(g_myRegcodesFolder)) == 0) {
        return;
    }
    const std::string folder = path_to_utf8(g_myRegcodesFolder);
    g_offlineRegcodeLines().push_back(fmt::format("Processing files in {}", folder));
    std::vector<RegcodeEntry> entries;
    entries.reserve(kUserEntriesReserved);
    if (!gf_readRegcodeFiles(g_myRegcodesFolder, entries)) {
        gf_setMessage(
            fmt::format("There were errors processing the regcode files in folder '{}', see Log.txt", folder),
            true);
    }
    lf_mergeRegcodes(entries);
}

// The first title of a registration and the first registration of a title win; a later claim gives
// a clash line.
void lf_enterInlineRegcode(const LiveryData& livery, TitleView title, std::vector<std::string>& clashes) {
    const auto [byRegcode, regcodeIsNew] = g_regcodeTitles().try_emplace(livery.registration, title);
    if (!regcodeIsNew && byRegcode->second != title) {
        clashes.push_back(
            fmt::format("{} '{}' => already in use by '{}'", livery.registration, title, byRegcode->second));
    }
    const auto [byTitle, titleIsNew] = g_titleRegcodes().try_emplace(title, livery.registration);
    if (!titleIsNew && byTitle->second != livery.registration) {
        clashes.push_back(
            fmt::format("{} '{}' => already in use by '{}'", title, livery.registration, byTitle->second));
    }
}

}  // namespace

std::unordered_map<std::string, TitleView>& g_regcodeTitles() {
    static auto* map = new std::unordered_map<std::string, TitleView>();  // never destroyed
    return *map;
}

std::unordered_map<TitleView, std::string>& g_titleRegcodes() {
    static auto* map = new std::unordered_map<TitleView, std::string>();  // never destroyed
    return *map;
}

std::vector<TitleView>& g_specialTitles() {
    static auto* titles = new std::vector<TitleView>();  // never destroyed
    return *titles;
}

std::set<std::string>& g_uniqueRegcodes() {
    static auto* regcodes = new std::set<std::string>();  // never destroyed
    return *regcodes;
}

std::vector<std::string>& g_dontUseTitles() {
    static auto* titles = new std::vector<std::string>();  // never destroyed
    return *titles;
}

std::vector<std::string>& g_offlineRegcodeLines() {
    static auto* lines = new std::vector<std::string>();  // never destroyed
    return *lines;
}

void gf_clearRegcodeStore() {
    g_uniqueRegcodes().clear();
    g_specialTitles().clear();
    g_regcodeTitles().clear();
    g_titleRegcodes().clear();
}

void lf_readDontUseTitles() {
    g_dontUseTitles().clear();
    try {
        if (lf_decryptAigRegcodes()) {
            PlainFileGuard plainFile(g_aigRegcodesXmlFile);  // removed also when the reading throws
            lf_readAigDontUseTitles();
            plainFile.removeNow();
        }
        if (gf_countFiles(g_myRegcodesFolder) != 0) lf_readMyDontUseTitles();
    } catch (const std::exception& e) {
        gf_logError(fmt::format("exception: {}", e.what()));
    }
}

void lf_processInlineRegcodes() {
    std::vector<std::string> clashes;
    for (const LiveryData& livery : g_scannedLiveries()) {
        if (livery.registration.empty()) continue;
        const TitleView title = lf_findCatalogueTitle(livery.title);
        if (title.empty()) {
            clashes.push_back(fmt::format("==> [{}] {} '{}' not available, system error, should not happen?",
                                          gf_designationText(livery.codes), livery.registration,
                                          livery.title));
            continue;
        }
        lf_enterInlineRegcode(livery, title, clashes);
    }
    if (clashes.empty()) return;
    if (!fs::exists(g_errorsFolder)) fs::create_directory(g_errorsFolder);
    if (!lf_writeReport(clashes, g_inlineRegcodesFile)) return;
    gf_logLine(fmt::format("{:5} in-line regcode clashes, see '{}'", clashes.size(),
                           path_to_utf8(g_inlineRegcodesFile)));
}

void lf_processOfflineRegcodes() {
    auto& lines = g_offlineRegcodeLines();
    lines.clear();
    try {
        // Without the AIG list the user's lists are not merged either.
        if (!lf_decryptAigRegcodes()) return;
        {
            PlainFileGuard plainFile(g_aigRegcodesXmlFile);  // removed also when the reading throws
            lf_readAigRegcodeFile();
            plainFile.removeNow();
        }
        lf_readMyRegcodeFiles();
        fs::remove(kOfflineRegcodesFile);
        if (lines.empty()) return;
        if (!lf_writeReport(lines, kOfflineRegcodesFile)) return;
        gf_logLine(fmt::format("Offline regcode files processed, results can be found in '{}'",
                               path_to_utf8(kOfflineRegcodesFile)));
        if (!g_specialTitles().empty())
            gf_logLine(fmt::format("{:5} special liveries", g_specialTitles().size()));
        if (!g_uniqueRegcodes().empty())
            gf_logLine(fmt::format("{:5} unique liveries", g_uniqueRegcodes().size()));
    } catch (const std::exception& e) {
        gf_logError(fmt::format("exception: {}", e.what()));
    }
}

void lf_mergeRegcodes(const std::vector<RegcodeEntry>& entries) {
    int added = 0;
    int replaced = 0;
    int special = 0;
    for (const RegcodeEntry& entry : entries) {
        const TitleView title = lf_findCatalogueTitle(entry.liveryTitle);
        if (title.empty()) continue;  // not installed
        const bool unique = entry.special && entry.regcodes.size() == 1;
        for (const std::string& regcode : entry.regcodes) {
            const auto [it, isNew] = g_regcodeTitles().try_emplace(regcode, title);
            if (isNew) {
                ++added;
            } else if (it->second != title) {
                g_offlineRegcodeLines().push_back(fmt::format(
                    "   regcode {} for '{}', instead of the same for '{}'", regcode, title, it->second));
                it->second = title;
                ++replaced;
            }
            if (unique) g_uniqueRegcodes().insert(regcode);
        }
        if (entry.special) {
            g_specialTitles().push_back(title);
            ++special;
        }
    }
    std::string line = fmt::format("{} new regcode{} added", added, gf_pluralS(added));
    if (replaced != 0) line += fmt::format(", {} regcode{} replaced", replaced, gf_pluralS(replaced));
    if (special != 0) line += fmt::format(", {} regcode{} defined as special", special, gf_pluralS(special));
    g_offlineRegcodeLines().push_back(std::move(line));
}

}  // namespace mrw

#include "aircraft/regcode_readers.h"

#include "aircraft/plain_file_guard.h"
#include "config/data_file_meta.h"
#include "foundation/file_names.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"
#include "foundation/text_helpers.h"
#include "foundation/xml_helpers.h"

#include <fmt/format.h>
#include <pugixml.hpp>

#include <algorithm>

namespace mrw {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMinLineLength = 6;
constexpr std::size_t kMinRegcodeLength = 3;
constexpr std::size_t kMaxRegcodeLength = 12;
constexpr std::size_t kExpectedLines = 1024;

void lf_logCount(std::size_t count, std::string_view source) {
    gf_logLine(fmt::format("{:5} {} read from {}", count, count == 1 ? "livery" : "liveries", source));
}

bool lf_readAigDocument(const pugi::xml_document& document, std::vector<RegcodeEntry>& result) {
    if (!gf_readMeta(document, false)) return false;
    const pugi::xml_node aig = document.child("root").child("aig");
    if (!aig) {
        gf_logError("No <aig> node found in XML.");
        return false;
    }
    bool ok = true;
    std::string previous;
    for (const pugi::xml_node element : aig.children("l")) {
        std::string title = gf_attributeString(element, "t");
        if (title.empty()) continue;
        if (title == previous) {
            gf_logError(fmt::format("Duplicate title '{}' (same as previous)", title));
            ok = false;
            continue;
        }
        previous = title;
        result.push_back({std::move(title), gf_splitCommaToList(gf_attributeString(element, "r")),
                          element.attribute("s").as_bool(false)});
    }
    lf_logCount(result.size(), path_to_utf8(g_aigRegcodesXmlFile.filename()));
    return ok;
}

// The fields of a line between ';', each trimmed; empty fields stay.
std::vector<std::string> lf_splitFields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(';', start);
        fields.push_back(gf_trim(line.substr(start, end == std::string_view::npos ? end : end - start)));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

bool lf_validLength(const std::string& regcode) {
    return regcode.size() >= kMinRegcodeLength && regcode.size() <= kMaxRegcodeLength;
}

// The codes of valid length; each other code is logged and makes `ok` false.
std::list<std::string> lf_validRegcodes(std::list<std::string> regcodes, const fs::path& file, bool& ok) {
    std::erase_if(regcodes, [&](const std::string& regcode) {
        if (lf_validLength(regcode)) return false;
        gf_logError(fmt::format("wrong regcode length '{}' in {}", regcode, path_to_utf8(file)));
        ok = false;
        return true;
    });
    return regcodes;
}

// The entry of one line, or nothing. A single regcode makes the entry special; two or more only
// with the third field "#".
std::optional<RegcodeEntry> lf_lineEntry(std::string_view line, const fs::path& file, bool& ok) {
    if (line.size() < kMinLineLength) return std::nullopt;
    const auto fields = lf_splitFields(line);
    const std::string& title = fields.front();
    if (fields.size() == 1) {
        if (title.empty()) return std::nullopt;
        return RegcodeEntry{title, {}, false};
    }
    if (fields.size() > 3) return std::nullopt;
    const auto regcodes = gf_splitCommaToList(fields[1]);
    if (regcodes.empty()) return RegcodeEntry{title, {}, false};
    auto valid = lf_validRegcodes(regcodes, file, ok);
    if (regcodes.size() == 1) {
        if (valid.empty()) return std::nullopt;
        return RegcodeEntry{title, std::move(valid), true};
    }
    if (valid.empty()) return RegcodeEntry{title, {}, false};
    return RegcodeEntry{title, std::move(valid), fields.size() == 3 && fields[2] == "#"};
}

// The regular files with the extension .TXT (any case) directly inside the folder, by name.
std::vector<fs::path> lf_regcodeFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && gf_upperEquals(".TXT", path_to_utf8(entry.path().extension()))) {
            files.push_back(entry.path());
        }
    }
    std::ranges::sort(files);
    return files;
}

std::size_t lf_readRegcodeFile(const fs::path& file, std::vector<RegcodeEntry>& result, bool& ok) {
    TextFile text(file);
    const auto read = text.readLines(kExpectedLines);
    const std::size_t before = result.size();
    if (std::holds_alternative<const LineList*>(read)) {
        for (const auto& line : *std::get<const LineList*>(read)) {
            if (auto entry = lf_lineEntry(line, file, ok)) result.push_back(std::move(*entry));
        }
    }
    return result.size() - before;
}

}  // namespace

bool gf_readAigRegcodes(std::vector<RegcodeEntry>& result) {
    PlainFileGuard plainFile(g_aigRegcodesXmlFile);
    pugi::xml_document document;
    if (!document.load_file(g_aigRegcodesXmlFile.c_str())) {
        gf_logError(fmt::format("Failed to load {}", path_to_utf8(g_aigRegcodesXmlFile)));
        plainFile.removeNow();
        return false;
    }
    const bool ok = lf_readAigDocument(document, result);
    plainFile.removeNow();
    return ok;
}

bool gf_readRegcodeFiles(const fs::path& folder, std::vector<RegcodeEntry>& result) {
    bool ok = true;
    try {
        for (const auto& file : lf_regcodeFiles(folder)) {
            lf_logCount(lf_readRegcodeFile(file, result, ok), path_to_utf8(file));
        }
    } catch (const fs::filesystem_error& e) {
        gf_logError(
            fmt::format("Error reading regcode files in {}, what: {}", path_to_utf8(folder), e.what()));
        return false;
    }
    return ok;
}

}  // namespace mrw

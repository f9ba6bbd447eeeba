#include "aircraft/aircraft_cfg_lines.h"

#include "aircraft/base_container_models.h"
#include "foundation/log.h"
#include "foundation/text_helpers.h"

#include <fmt/format.h>

#include <charconv>
#include <cstdint>
#include <limits>

namespace mrw {

namespace {

constexpr std::string_view kHeaderLower = "[fltsim.";
constexpr std::string_view kHeaderUpper = "[FLTSIM.";
constexpr int kMaxSectionNumber = 10000;

bool lf_isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t lf_skipSpace(std::string_view line, std::size_t pos) {
    while (pos < line.size() && gf_isPatternSpace(line[pos]))
        ++pos;
    return pos;
}

// True when `text` at `pos` begins with `word`, ASCII letters compared without regard to case.
bool lf_startsWithNoCase(std::string_view text, std::size_t pos, std::string_view word) {
    if (text.size() - pos < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (gf_toUpperChar(text[pos + i]) != gf_toUpperChar(word[i])) return false;
    }
    return true;
}

// The value by the rule when the line is the key, else "".
std::string lf_keyValue(std::string_view line, std::string_view key) {
    return gf_cfgValue(gf_matchCfgKey(line, key));
}

// The digits of a whole-line header match, or "".
std::string_view lf_matchHeader(std::string_view line) {
    std::size_t pos = lf_skipSpace(line, 0);
    if (!lf_startsWithNoCase(line, pos, kHeaderLower)) return {};
    pos += kHeaderLower.size();
    const std::size_t digitsStart = pos;
    while (pos < line.size() && lf_isDigit(line[pos]))
        ++pos;
    if (pos == digitsStart || pos == line.size() || line[pos] != ']') return {};
    if (lf_skipSpace(line, pos + 1) != line.size()) return {};
    return line.substr(digitsStart, pos - digitsStart);
}

}  // namespace

bool gf_isPatternSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool gf_isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string gf_upperAscii(std::string text) {
    for (char& c : text)
        c = gf_toUpperChar(c);
    return text;
}

std::string_view gf_matchCfgKey(std::string_view line, std::string_view key) {
    std::size_t pos = lf_skipSpace(line, 0);
    if (!lf_startsWithNoCase(line, pos, key)) return {};
    pos = lf_skipSpace(line, pos + key.size());
    if (pos == line.size() || line[pos] != '=') return {};
    pos = lf_skipSpace(line, pos + 1);
    std::size_t end = line.size();
    while (end > pos && gf_isPatternSpace(line[end - 1]))
        --end;
    if (end == pos) return {};  // the value needs one character that is not white space
    const std::string_view value = line.substr(pos, end - pos);
    // The pattern's '.' takes no line end: a value with one inside is no match.
    if (value.find_first_of("\r\n") != std::string_view::npos) return {};
    return value;
}

std::string gf_cfgValue(std::string_view rawValue) {
    const auto first = rawValue.find('"');
    if (first == std::string_view::npos) return std::string(rawValue);
    const auto second = rawValue.find('"', first + 1);
    if (second == std::string_view::npos) return {};
    return std::string(rawValue.substr(first + 1, second - first - 1));
}

bool gf_cfgTitle(std::string_view line, std::string& out) {
    std::string value = lf_keyValue(line, "title");
    if (value.empty()) return false;
    out = std::move(value);
    return true;
}

bool gf_cfgTexture(std::string_view line, std::string& out) {
    std::string value = lf_keyValue(line, "texture");
    if (value.empty()) return false;
    out = std::move(value);
    return true;
}

bool gf_cfgAtcParkingTypes(std::string_view line, std::string& out) {
    std::string value = lf_keyValue(line, "atc_parking_types");
    if (value.empty()) return false;
    out = std::move(value);
    return true;
}

bool gf_cfgAtcId(std::string_view line, std::string& out) {
    std::string value = lf_keyValue(line, "atc_id");
    if (value.size() < 5) return false;
    out = std::move(value);
    return true;
}

bool gf_cfgIcaoAirline(std::string_view line, std::string& out) {
    const std::string_view raw = gf_matchCfgKey(line, "icao_airline");
    if (raw.empty()) return false;
    const std::string value = gf_cfgValue(raw);
    out = (value.empty() || value == "ZZZZ") ? std::string("ZZZ") : gf_upperAscii(value);
    return true;
}

std::string gf_cfgIcaoTypeDesignator(std::string_view line) {
    std::string value = lf_keyValue(line, "icao_type_designator");
    if (value.size() > 4) value.resize(4);
    return gf_upperAscii(std::move(value));
}

std::string gf_cfgBaseContainer(std::string_view line) {
    const std::string value = lf_keyValue(line, "base_container");
    if (value.size() <= 3) return {};
    return gf_baseContainerModel(std::string_view(value).substr(3));
}

std::string gf_cfgFltsimNumber(std::string_view line) {
    if (line.size() >= 2 && line.substr(0, 2) == "//") return {};
    if (const std::string_view digits = lf_matchHeader(line); !digits.empty()) return std::string(digits);
    if (line.find(kHeaderLower) != std::string_view::npos ||
        line.find(kHeaderUpper) != std::string_view::npos) {
        return std::to_string(kMaxSectionNumber);
    }
    return {};
}

bool gf_isAtcIdLine(std::string_view line) {
    return line.find("atc_id=") != std::string_view::npos;
}

bool gf_isAtcParkingTypesLine(std::string_view line) {
    return line.find("atc_parking_types") != std::string_view::npos;
}

bool gf_checkFltsimNumbers(const std::vector<std::string>& lines, const std::filesystem::path& cfgPath,
                           ScanReports& reports) {
    bool anyHeader = false;
    bool outOfRange = false;
    for (const std::string& line : lines) {
        const std::string number = gf_cfgFltsimNumber(line);
        if (number.empty()) continue;
        anyHeader = true;
        std::int32_t value = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
        if (error != std::errc() || end != number.data() + number.size()) {
            gf_logError(fmt::format("fltsim num {} incorrect", line));
            return false;
        }
        if (value < 0 || value > kMaxSectionNumber) outOfRange = true;
    }
    if (!anyHeader) {
        reports.noFltsimSectionFiles.add(gf_narrowPathText(cfgPath));
        return true;
    }
    if (outOfRange) {
        reports.addInvalidCfgFile(fmt::format("{} contains a [fltsim.x] section with a number < 0 or > {}",
                                              gf_narrowPathText(cfgPath), kMaxSectionNumber));
        return false;
    }
    return true;
}

}  // namespace mrw

#include "aircraft/fltsim_sections.h"

#include "aircraft/aircraft_cfg_lines.h"
#include "foundation/log.h"
#include "foundation/text_encoding.h"
#include "foundation/text_file.h"

#include <fmt/format.h>

#include <utility>

namespace mrw {

namespace {

constexpr std::size_t kReservedSectionLines = 48;
constexpr std::size_t kMaxHeaderIndent = 5;
constexpr std::size_t kMaxRegistrationLength = 12;

}  // namespace

bool gf_readCfgLines(const std::filesystem::path& cfgPath, CfgLines& lines, bool errorLine,
                     MissingCfgFile missing) {
    std::string bytes;
    if (!gf_readFileBytes(cfgPath, bytes)) {
        // Asked only now: a file the walk found is nearly always there. A status that cannot be
        // read counts as missing.
        std::error_code error;
        if (missing == MissingCfgFile::Silent && !std::filesystem::exists(cfgPath, error)) return false;
        const std::string text = fmt::format("! No text encoding detected for {}", path_to_utf8(cfgPath));
        errorLine ? gf_logError(text) : gf_logLine(text);
        return false;
    }
    if (!gf_decodeTextLines(gf_detectCharsetOfBytes(bytes), bytes, cfgPath, lines)) {
        gf_logLine(fmt::format("! Failed reading {}", path_to_utf8(cfgPath)));
        return false;
    }
    return true;
}

void gf_forEachFltsimSection(CfgLines lines, bool anyBracketEnds,
                             const std::function<void(CfgLines&)>& section) {
    CfgLines buffer;
    buffer.reserve(kReservedSectionLines);
    bool inside = false;
    const auto flush = [&] {
        if (inside && !buffer.empty()) section(buffer);
        buffer.clear();
    };
    for (std::string& line : lines) {
        if (!gf_cfgFltsimNumber(line).empty()) {
            flush();
            inside = true;
            buffer.push_back(std::move(line));
            continue;
        }
        const auto bracket = line.find('[');
        if (bracket != std::string::npos && (anyBracketEnds || bracket <= kMaxHeaderIndent)) {
            flush();
            inside = false;
        } else if (inside) {
            buffer.push_back(std::move(line));
        }
    }
    flush();
}

void gf_dropTrailingComments(CfgLines& section) {
    while (!section.empty() && (section.back().empty() || section.back().starts_with("//")))
        section.pop_back();
}

bool gf_atcIdRegistration(std::string_view value, std::string& registration) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const auto comma = value.find(',', start);
        parts.push_back(
            value.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    for (const std::string_view part : parts) {
        if (part.empty() || part == " " || part.size() > kMaxRegistrationLength ||
            part.find('*') != std::string_view::npos) {
            return false;
        }
    }
    registration = parts.size() == 1 ? std::string(parts.front()) : std::string();
    return true;
}

}  // namespace mrw

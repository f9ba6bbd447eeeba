#include "foundation/version_data.h"

#include "foundation/log.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <regex>
#include <stdexcept>

namespace mrw {

namespace {

constexpr std::size_t kMaxVersionTextLength = 64;

const std::regex& lf_versionPattern() {
    static const std::regex pattern(R"((\d+)\.(\d+)\.(\d+))", std::regex::ECMAScript);
    return pattern;
}

int lf_toInt(const std::ssub_match& group) {
    int value = 0;
    const char* first = &*group.first;
    const char* last = first + group.length();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) throw std::runtime_error("parse error in version string");
    return value;
}

int lf_jsonInt(const nlohmann::json& object, const char* key) {
    auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer()) return 0;
    if (it->is_number_unsigned()) {
        auto value = it->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(INT32_MAX))
            throw std::runtime_error("parse error in version string");
        return static_cast<int>(value);
    }
    auto value = it->get<std::int64_t>();
    if (value > INT32_MAX || value < INT32_MIN) throw std::runtime_error("parse error in version string");
    return static_cast<int>(value);
}

std::string_view lf_trim(std::string_view text) {
    constexpr std::string_view blanks = " \t\n\v\f\r";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

}  // namespace

VersionData::VersionData(std::string_view text) {
    if (text.empty()) return;
    try {
        // std::regex recurses once per character: a text longer than any version could be is
        // refused before it can exhaust the stack.
        if (text.size() > kMaxVersionTextLength) throw std::runtime_error("invalid version format");
        const std::string whole(text);
        std::smatch match;
        if (std::regex_match(whole, match, lf_versionPattern())) {
            major = lf_toInt(match[1]);
            minor = lf_toInt(match[2]);
            patch = lf_toInt(match[3]);
            return;
        }
        const std::string_view trimmed = lf_trim(text);
        if (!trimmed.empty() && trimmed.front() == '{') {
            const auto json = nlohmann::json::parse(trimmed, nullptr, false);
            if (json.is_object()) {
                major = lf_jsonInt(json, "major");
                minor = lf_jsonInt(json, "minor");
                patch = lf_jsonInt(json, "patch");
                return;
            }
        }
        throw std::runtime_error("invalid version format");
    } catch (const std::exception& e) {
        gf_logLine(fmt::format("{} exception: {}", "VersionData", e.what()));
        major = minor = patch = 0;
    }
}

std::string VersionData::toString() const {
    return fmt::format("{}.{}.{}", major, minor, patch);
}

const VersionData g_programVersion{"12.6.0"};

}  // namespace mrw

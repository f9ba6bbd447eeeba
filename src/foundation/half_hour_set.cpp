#include "foundation/half_hour_set.h"

#include "foundation/log.h"

#include <fmt/format.h>

#include <charconv>
#include <vector>

namespace mrw {

namespace {

constexpr std::string_view kBlanks = " \t\n\r\v\f";

std::string_view lf_trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> lf_split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto pos = text.find(separator, start);
        parts.push_back(
            text.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start));
        if (pos == std::string_view::npos) return parts;
        start = pos + 1;
    }
}

// One slot number 0..47 read from the start of the trimmed token; anything after it is ignored.
std::optional<int> lf_readSlot(std::string_view token, std::string_view wholeText) {
    const std::string_view trimmed = lf_trim(token);
    int value = -1;
    const auto [ptr, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (ec == std::errc() && value >= 0 && value <= 47) return value;
    gf_logError(fmt::format("{} invalid hour '{}' in {}", "operator ()", trimmed, wholeText));
    return std::nullopt;
}

HalfHourSet lf_readRange(std::string_view text) {
    std::vector<int> bounds;
    bool bad = false;
    for (std::string_view part : lf_split(text, ':')) {
        if (bounds.size() == 2) {
            gf_logError(fmt::format("{} more than one colon char in: {}", "gf_hours2bitset", text));
            return {};
        }
        if (auto slot = lf_readSlot(part, text)) {
            bounds.push_back(*slot);
        } else {
            bad = true;
        }
    }
    if (bad || bounds.size() != 2) return {};
    const int a = bounds[0];
    const int b = bounds[1];
    if (a > b) {
        gf_logError(
            fmt::format("{} descending range not allowed ({}:{} in {})", "gf_hours2bitset", a, b, text));
        return {};
    }
    HalfHourSet set;
    for (int slot = a; slot <= b; ++slot)
        set.set(static_cast<std::size_t>(slot));
    return set;
}

}  // namespace

HalfHourSet gf_hours2bitset(std::string_view text) {
    if (text.empty()) return {};
    if (text.find(':') != std::string_view::npos) return lf_readRange(text);
    HalfHourSet set;
    for (std::string_view part : lf_split(text, ',')) {
        if (auto slot = lf_readSlot(part, text)) set.set(static_cast<std::size_t>(*slot));
    }
    return set;
}

std::optional<std::string> gf_bitsetToList(const HalfHourSet& set) {
    if (set.none()) return std::nullopt;
    std::string text;
    for (std::size_t slot = 0; slot < set.size(); ++slot) {
        if (!set.test(slot)) continue;
        if (!text.empty()) text += ',';
        text += std::to_string(slot);
    }
    return text;
}

std::optional<std::string> gf_bitsetToRange(const HalfHourSet& set) {
    if (set.none()) return std::nullopt;
    std::size_t first = 0;
    while (!set.test(first))
        ++first;
    std::size_t last = set.size() - 1;
    while (!set.test(last))
        --last;
    if (set.count() != last - first + 1) return std::nullopt;
    if (first == last) return std::to_string(first);
    return fmt::format("{}:{}", first, last);
}

}  // namespace mrw

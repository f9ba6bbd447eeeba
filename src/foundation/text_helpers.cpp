#include "foundation/text_helpers.h"

#include "foundation/simulator_choice.h"

#include <fmt/format.h>
#include <gsl/narrow>

#include <algorithm>
#include <climits>
#include <cmath>

namespace mrw {

std::string gf_trim(std::string_view text) {
    const auto first = text.find_first_not_of(kTrimSet);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kTrimSet);
    return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> gf_splitComma(std::string_view text) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        parts.push_back(gf_trim(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return parts;
}

std::list<std::string> gf_splitCommaToList(std::string_view text) {
    const auto parts = gf_splitComma(text);
    std::list<std::string> list(parts.begin(), parts.end());
    list.sort();
    list.unique();
    return list;
}

void gf_normaliseCommaList(std::string& text) {
    if (text.find_first_of(kTrimSet) == std::string::npos) return;
    text = fmt::format("{}", fmt::join(gf_splitComma(text), ","));
}

char gf_toUpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool gf_upperEquals(std::string_view expected, std::string_view text) {
    return expected.size() == text.size() &&
           std::equal(text.begin(), text.end(), expected.begin(),
                      [](char t, char e) { return gf_toUpperChar(t) == e; });
}

bool gf_equalsWithStar(std::string_view text, std::string_view other) {
    return other.size() == text.size() + 1 && other.back() == '*' && other.substr(0, text.size()) == text;
}

std::string gf_numberText(float value) {
    return std::trunc(value) == value ? fmt::format("{:.0f}", value) : fmt::format("{:.1f}", value);
}

std::string gf_formatUnsigned(std::string_view format, unsigned int value) {
    return fmt::vformat(format, fmt::make_format_args(value));
}

std::string gf_idText(std::uint32_t objectId) {
    return g_msfs2020.load() ? fmt::format("{}", objectId) : fmt::format("{:x}", objectId);
}

int gf_percent(std::int64_t a, std::int64_t b) {
    if (b <= 0) return 0;
    const double rounded = std::round(static_cast<double>(a) * 100.0 / static_cast<double>(b));
    // Checked before the cast: converting an out-of-range double to int is undefined.
    if (!(rounded >= static_cast<double>(INT_MIN) && rounded <= static_cast<double>(INT_MAX))) {
        throw gsl::narrowing_error();
    }
    return static_cast<int>(rounded);
}

std::string gf_starBanner(int width, int extra, bool leadingLineFeed, bool trailingLineFeed,
                          std::string_view text) {
    std::string banner = leadingLineFeed ? "\n" : "";
    int n = width + extra;
    if (n % 2 != 0) ++n;
    if (text.empty()) {
        banner.append(static_cast<std::size_t>(std::max(n, 0)), '*');
    } else if (static_cast<std::int64_t>(text.size()) + 2 < n) {
        const std::string stars(static_cast<std::size_t>(n / 2 - 1), '*');
        banner += fmt::format("{} {} {}", stars, text, stars);
    } else {
        banner += text;
    }
    if (trailingLineFeed) banner += '\n';
    return banner;
}

}  // namespace mrw

#pragma once
// Small shared helpers on text: trimming, comma lists, case-blind comparison, plural endings,
// number texts and the star banners of Log.txt. All are pure apart from gf_idText, which reads the
// selected simulator.

#include <concepts>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <vector>

namespace mrw {

// The characters gf_trim removes: blank, tab, line feed and carriage return, and only these.
inline constexpr std::string_view kTrimSet = " \t\n\r";

std::string gf_trim(std::string_view text);

// The parts between the commas, each trimmed, in order. Empty parts stay; an empty text gives none.
std::vector<std::string> gf_splitComma(std::string_view text);
// The same parts sorted by bytes, each once.
std::list<std::string> gf_splitCommaToList(std::string_view text);
// When the text holds a trim character anywhere, it becomes its trimmed parts joined with ','.
void gf_normaliseCommaList(std::string& text);

// True when `text` upper-cased (ASCII letters only) equals `expected`, which is given upper-case.
bool gf_upperEquals(std::string_view expected, std::string_view text);
// a-z become A-Z; every other byte stays.
char gf_toUpperChar(char c);
// True when `other` is `text` followed by one '*'.
bool gf_equalsWithStar(std::string_view text, std::string_view other);

// "s" unless the count is 1 (or negative, for signed counts): "1 file", "0 files".
template <std::integral T>
std::string_view gf_pluralS(T count) {
    if constexpr (std::signed_integral<T>) {
        if (count < 0) return {};
    }
    return count == 1 ? std::string_view{} : std::string_view{"s"};
}

// "{:.0f}" for a whole value, else "{:.1f}": '2', '2.5'.
std::string gf_numberText(float value);
// Applies a format text that is known only at run time to one number. Throws fmt::format_error for
// a format text that does not fit the number.
std::string gf_formatUnsigned(std::string_view format, unsigned int value);
// An object id as the messages show it: decimal for the 2020 simulator, lower-case hex for 2024.
std::string gf_idText(std::uint32_t objectId);
// a x 100 / b rounded to the nearest integer (halves away from zero); 0 when b <= 0. Throws
// gsl::narrowing_error when the result does not fit an int.
int gf_percent(std::int64_t a, std::int64_t b);

// A Log.txt banner: the text between two equal runs of stars, the line (without the text) being
// width + extra rounded up to even; a text too long for that stands alone; an empty text gives
// stars only. Optional line feeds before and after.
std::string gf_starBanner(int width, int extra, bool leadingLineFeed, bool trailingLineFeed,
                          std::string_view text);

}  // namespace mrw

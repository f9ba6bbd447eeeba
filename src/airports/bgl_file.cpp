#include "airports/bgl_file.h"

#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include <fmt/format.h>

#include "airports/airports_database.h"
#include "airports/airports_scan_report.h"
#include "foundation/fixed_code.h"

namespace mrw {
namespace {

constexpr std::uint32_t kAirportSection = 3;
constexpr std::uint64_t kHeaderBytes = 56;
constexpr std::uint64_t kSectionEntryBytes = 20;

std::optional<std::uint32_t> lf_readU32At(std::istream& in, std::uint64_t offset) {
    std::array<unsigned char, 4> bytes{};
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) return std::nullopt;
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

char lf_base38Char(std::uint32_t digit) {
    if (digit == 0) return ' ';
    if (digit == 1) return '?';
    if (digit < 12) return static_cast<char>('0' + digit - 2);
    return static_cast<char>('A' + digit - 12);
}

}  // namespace

BglWords gf_readFileWords(std::istream& in) {
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    BglWords words((bytes.size() + 3) / 4, 0);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        words[i / 4] |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * (i % 4));
    }
    return words;
}

bool gf_bglHasAirport(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in.is_open()) return false;
    const std::streamoff end = in.tellg();
    const std::uint64_t length = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    if (length <= kHeaderBytes) return false;
    const std::uint32_t count = lf_readU32At(in, 20).value_or(0);
    if ((length - kHeaderBytes) / kSectionEntryBytes < count) return false;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t offset = kHeaderBytes + kSectionEntryBytes * i;
        if (length < offset + 4) break;
        if (lf_readU32At(in, offset) == kAirportSection) return true;
    }
    return false;
}

std::string gf_reversedString(std::string_view text) {
    return std::string(text.rbegin(), text.rend());
}

std::string gf_decodeBglIcao(std::uint32_t ident, bool& ok) {
    std::uint32_t value = ident >> 5;
    std::string digits;  // least significant first
    ok = true;
    do {
        const std::uint32_t digit = value % 38;
        if (digit < 2) ok = false;
        digits += lf_base38Char(digit);
        value /= 38;
    } while (value != 0);
    if (digits.size() > 10) ok = false;
    std::string text = gf_reversedString(digits);
    if (!ok) return text;
    auto [checked, known] = gf_checkScannedIcao(std::move(text));
    ok = known;
    return checked;
}

std::pair<std::string, bool> gf_checkScannedIcao(std::string text) {
    if (text.size() == 3 || text.size() == 4) {
        for (char& c : text) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (text.size() != 4) return {std::move(text), false};
    try {
        if (gf_isKnownAirport(FixedCode<4>(text))) return {std::move(text), true};
    } catch (const std::invalid_argument&) {
        // Not a code at all: no airport, and nothing worth reporting.
        return {std::move(text), false};
    }
    g_scanReport.push_back(fmt::format("{} is not an airport supported by RealTraffic", text));
    return {std::move(text), false};
}

}  // namespace mrw

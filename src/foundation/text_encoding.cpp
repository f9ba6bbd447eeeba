#include "foundation/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace mrw {

namespace {

void lf_appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one strict UTF-8 sequence at `pos`; false for anything malformed (overlong, surrogate,
// beyond U+10FFFF, cut short).
bool lf_decodeUtf8(std::string_view text, std::size_t& pos, char32_t& cp) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int length = 0;
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return false;
    }
    if (pos + static_cast<std::size_t>(length) > text.size()) return false;
    for (int i = 1; i < length; ++i) {
        const unsigned char c = byte(pos + static_cast<std::size_t>(i));
        if ((c & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) return false;
    if (cp >= 0xD800 && cp <= 0xDFFF) return false;
    pos += static_cast<std::size_t>(length);
    return true;
}

// Windows-1252 bytes 0x80..0x9F; the five undefined ones keep their C1 code points.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t lf_cp1252ToUnicode(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

constexpr std::size_t kSampleSize = 4096;

// The position of the first byte at or after `pos` that is not ASCII, or the end. Eight bytes are
// looked at together: the files checked are nearly all ASCII, and this check is most of their cost.
std::size_t lf_skipAscii(std::string_view bytes, std::size_t pos) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    for (std::uint64_t word = 0; pos + sizeof word <= bytes.size(); pos += sizeof word) {
        std::memcpy(&word, bytes.data() + pos, sizeof word);
        if ((word & kHighBits) != 0) break;
    }
    while (pos < bytes.size() && static_cast<unsigned char>(bytes[pos]) < 0x80)
        ++pos;
    return pos;
}

// A multi-byte sequence cut by the sample limit says nothing against UTF-8: drop its first bytes so
// that a UTF-8 file is not judged ANSI because of where the sample ends.
std::string_view lf_dropCutSequence(std::string_view sample) {
    for (std::size_t back = 1; back <= 3 && back <= sample.size(); ++back) {
        const auto c = static_cast<unsigned char>(sample[sample.size() - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (needed > back) sample.remove_suffix(back);
        return sample;
    }
    return sample;
}

}  // namespace

std::string gf_utf8Prefix(std::string_view text, std::size_t n) {
    if (text.size() <= n) return std::string(text);
    // Continuation bytes of a UTF-8 character are 10xxxxxx: cut before its lead byte.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return std::string(text.substr(0, n));
}

std::string wide_to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                throw std::runtime_error("wide_to_utf8: invalid UTF-16");
            }
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            throw std::runtime_error("wide_to_utf8: invalid UTF-16");
        }
        lf_appendUtf8(out, cp);
    }
    return out;
}

std::u16string utf8_to_wide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        if (!lf_decodeUtf8(text, pos, cp)) throw std::runtime_error("utf8_to_wide: invalid UTF-8");
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string path_to_utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path utf8_to_path(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string gf_ansiToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        lf_appendUtf8(out, lf_cp1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string gf_utf8ToAnsi(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = 0;
        if (!lf_decodeUtf8(text, pos, cp)) throw std::runtime_error("gf_utf8ToAnsi: invalid UTF-8");
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        bool found = false;
        for (std::size_t i = 0; i < kCp1252High.size() && !found; ++i) {
            if (kCp1252High[i] == cp) {
                out += static_cast<char>(0x80 + i);
                found = true;
            }
        }
        if (!found) throw std::runtime_error("gf_utf8ToAnsi: character not in the ANSI code page");
    }
    return out;
}

std::string_view gf_charsetName(int charset) {
    static constexpr std::array<std::string_view, 6> names = {
        "ANSI", "Unicode", "Unicode_big_endian", "UTF8_with_BOM", "UTF8_without_BOM", "none_found"};
    return charset >= 0 && charset < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(charset)]
                                                                    : std::string_view("unknown");
}

bool gf_isValidUtf8(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t pos = 0; pos < bytes.size();) {
        pos = lf_skipAscii(bytes, pos);
        if (pos == bytes.size()) break;
        const unsigned char lead = byte(pos);
        std::size_t continuation = 0;
        unsigned char secondMin = 0x80;
        unsigned char secondMax = 0xBF;
        if (lead <= 0x7F) {
            ++pos;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            if (lead == 0xE0) secondMin = 0xA0;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            if (lead == 0xF0) secondMin = 0x90;
            if (lead == 0xF4) secondMax = 0x8F;
        } else {
            return false;
        }
        if (pos + continuation >= bytes.size()) return false;
        for (std::size_t i = 1; i <= continuation; ++i) {
            const unsigned char c = byte(pos + i);
            const unsigned char lo = i == 1 ? secondMin : 0x80;
            const unsigned char hi = i == 1 ? secondMax : 0xBF;
            if (c < lo || c > hi) return false;
        }
        pos += continuation + 1;
    }
    return true;
}

int gf_detectCharset(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return kCharsetNoneFound;
    // One byte beyond the sample tells whether the sample ends inside the file.
    std::string head(kSampleSize + 1, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return gf_detectCharsetOfBytes(head);
}

int gf_detectCharsetOfBytes(std::string_view bytes) {
    const std::size_t n = std::min<std::size_t>(bytes.size(), 4);
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (n >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF) return kCharsetUtf8Bom;
    if (n >= 2) {
        if (b(0) == 0xFF && b(1) == 0xFE) return kCharsetUtf16Le;
        if (b(0) == 0xFE && b(1) == 0xFF) return kCharsetUtf16Be;
        if (b(1) == 0x00 && (n < 4 || b(3) == 0x00)) return kCharsetUtf16Le;
        if (b(0) == 0x00 && (n < 4 || b(2) == 0x00)) return kCharsetUtf16Be;
    }
    if (bytes.empty()) return kCharsetUtf8;
    const std::string_view sample =
        bytes.size() > kSampleSize ? lf_dropCutSequence(bytes.substr(0, kSampleSize)) : bytes;
    return gf_isValidUtf8(sample) ? kCharsetUtf8 : kCharsetAnsi;
}

}  // namespace mrw

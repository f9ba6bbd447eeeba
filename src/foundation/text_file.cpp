#include "foundation/text_file.h"

#include "foundation/file_replace.h"
#include "foundation/message_line.h"
#include "foundation/text_file_internal.h"

#include <fmt/format.h>

#include <fstream>
#include <stdexcept>

namespace mrw {

namespace fs = std::filesystem;

void lf_splitLines(std::string_view text, LineList& lines) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

void gf_streamToLines(std::istream& in, LineList& lines) {
    if (!in) return;
    in.seekg(0, std::ios::end);
    const auto length = in.tellg();
    in.seekg(0, std::ios::beg);
    if (length <= 0) {
        in.clear();
        in.seekg(0, std::ios::beg);
        return;
    }
    std::string buffer(static_cast<std::size_t>(length), '\0');
    in.read(buffer.data(), length);
    buffer.resize(static_cast<std::size_t>(in.gcount()));
    lf_splitLines(buffer, lines);
}

namespace {

// UTF-16 file bytes to UTF-8 lines. A mark decides the byte order; without one `bigEndian` does.
void lf_decodeUtf16Lines(std::string_view bytes, bool bigEndian, LineList& lines) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t start = 0;
    if (b(0) == 0xFF && b(1) == 0xFE) {
        bigEndian = false;
        start = 2;
    } else if (b(0) == 0xFE && b(1) == 0xFF) {
        bigEndian = true;
        start = 2;
    }
    std::u16string wide;
    wide.reserve((bytes.size() - start) / 2);
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
        wide += bigEndian ? static_cast<char16_t>((b(i) << 8) | b(i + 1))
                          : static_cast<char16_t>((b(i + 1) << 8) | b(i));
    }
    lf_splitLines(wide_to_utf8(wide), lines);
}

void lf_decodeUtf8Lines(std::string_view bytes, bool dropSecondMark, LineList& lines) {
    lf_splitLines(bytes, lines);
    // The charset was judged by a sample: a later line may still hold a Windows-1252 byte. Lines
    // are cut at ASCII bytes, so every line of valid bytes is valid: one look at them all suffices.
    if (!gf_isValidUtf8(bytes)) {
        for (std::string& line : lines)
            if (!gf_isValidUtf8(line)) line = gf_ansiToUtf8(line);
    }
    if (dropSecondMark && !lines.empty() && lines.front().size() > 2 &&
        lines.front().starts_with("\xEF\xBB\xBF")) {
        lines.front().erase(0, 3);
    }
}

void lf_decodeAnsiLines(std::string_view bytes, LineList& lines) {
    lf_splitLines(bytes, lines);
    for (std::string& line : lines)
        line = gf_ansiToUtf8(line);
}

bool lf_isKnownCharset(int charset) {
    return charset >= kCharsetAnsi && charset <= kCharsetUtf8;
}

// Throws std::runtime_error for a charset that names no decoding.
void lf_decodeLines(int charset, std::string_view bytes, const fs::path& path, LineList& lines) {
    switch (charset) {
        case kCharsetAnsi:
            return lf_decodeAnsiLines(bytes, lines);
        case kCharsetUtf16Le:
            return lf_decodeUtf16Lines(bytes, false, lines);
        case kCharsetUtf16Be:
            return lf_decodeUtf16Lines(bytes, true, lines);
        case kCharsetUtf8Bom:
            return lf_decodeUtf8Lines(bytes, true, lines);
        case kCharsetUtf8:
            return lf_decodeUtf8Lines(bytes, false, lines);
        default:
            throw std::runtime_error(
                fmt::format("file {} has unknown charset: {}", path_to_utf8(path), gf_charsetName(charset)));
    }
}

void lf_reportReadFailure(const fs::path& path, const std::exception& e) {
    gf_setMessage(fmt::format("Read failed for '{}': {}", path_to_utf8(path), e.what()), true);
}

template <typename Lines>
bool lf_writeLines(const Lines& lines, const fs::path& path) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += '\n';
    }
    return gf_replaceFile(path, bytes);
}

}  // namespace

bool gf_readFileBytes(const fs::path& path, std::string& bytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return false;
    in.seekg(0, std::ios::end);
    const auto length = in.tellg();
    in.seekg(0, std::ios::beg);
    if (length < 0 || !in) return false;
    bytes.resize(static_cast<std::size_t>(length));
    in.read(bytes.data(), length);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
}

bool gf_readTextLines(int charset, const fs::path& path, LineList& lines) {
    lines.clear();
    std::string bytes;
    try {
        if (lf_isKnownCharset(charset) && !gf_readFileBytes(path, bytes)) return false;
        lf_decodeLines(charset, bytes, path, lines);
        return true;
    } catch (const std::exception& e) {
        lf_reportReadFailure(path, e);
        return false;
    }
}

bool gf_decodeTextLines(int charset, std::string_view bytes, const fs::path& path, LineList& lines) {
    lines.clear();
    try {
        lf_decodeLines(charset, bytes, path, lines);
        return true;
    } catch (const std::exception& e) {
        lf_reportReadFailure(path, e);
        return false;
    }
}

std::variant<const LineList*, std::string> TextFile::readLines(std::size_t expectedLines) {
    m_lines.clear();
    std::ifstream in(m_path, std::ios::binary);
    if (!in.is_open()) return std::string("open_failed");
    m_lines.reserve(expectedLines);
    gf_streamToLines(in, m_lines);
    return &m_lines;
}

bool gf_writeTextLine(std::string_view text, const fs::path& path) {
    std::string bytes(text);
    bytes += '\n';
    return gf_replaceFile(path, bytes);
}

bool gf_writeLines(const std::vector<std::string>& lines, const fs::path& path) {
    return lf_writeLines(lines, path);
}
bool gf_writeLines(const std::list<std::string>& lines, const fs::path& path) {
    return lf_writeLines(lines, path);
}

}  // namespace mrw

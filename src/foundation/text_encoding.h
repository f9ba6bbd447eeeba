#pragma once
// Conversions between the program's UTF-8 text, UTF-16 (std::u16string, the Windows interfaces) and
// the ANSI code page (Windows-1252), and the charset detection of outside text files.

#include <filesystem>
#include <string>
#include <string_view>

namespace mrw {

// Throws std::runtime_error "wide_to_utf8: invalid UTF-16" for an unpaired surrogate.
std::string wide_to_utf8(std::u16string_view text);
// Throws std::runtime_error "utf8_to_wide: invalid UTF-8".
std::u16string utf8_to_wide(std::string_view text);
// The path's text as UTF-8, and a path from UTF-8 text. Never path::string() or path(std::string)
// for this: on Windows those use the ANSI code page, which loses or garbles other characters.
std::string path_to_utf8(const std::filesystem::path& path);
std::filesystem::path utf8_to_path(std::string_view text);

// Windows-1252 to UTF-8; the five undefined bytes map to their C1 code points, never an error.
std::string gf_ansiToUtf8(std::string_view text);
// True when the bytes are valid UTF-8 (shortest forms, no surrogates, nothing above U+10FFFF).
bool gf_isValidUtf8(std::string_view bytes);
// The first n bytes of UTF-8 text, shortened so that no character is cut.
std::string gf_utf8Prefix(std::string_view text, std::size_t n);
// UTF-8 to Windows-1252; throws std::runtime_error for a character the code page cannot hold.
std::string gf_utf8ToAnsi(std::string_view text);

// Charset numbers of outside text files.
enum Charset : int {
    kCharsetAnsi = 0,
    kCharsetUtf16Le = 1,
    kCharsetUtf16Be = 2,
    kCharsetUtf8Bom = 3,
    kCharsetUtf8 = 4,
    kCharsetNoneFound = 5,
};

// "ANSI", "Unicode", "Unicode_big_endian", "UTF8_with_BOM", "UTF8_without_BOM", "none_found".
std::string_view gf_charsetName(int charset);

// Judges the first bytes and a 4096-byte sample of the file; 5 when it cannot be opened.
int gf_detectCharset(const std::filesystem::path& path);
// The same judgement of a file's bytes already read (never 5).
int gf_detectCharsetOfBytes(std::string_view bytes);

}  // namespace mrw

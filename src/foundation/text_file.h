#pragma once
// Reading text files as UTF-8 lines (one line splitter for every reader) and writing line lists.

#include <filesystem>
#include <istream>
#include <list>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "foundation/text_encoding.h"

namespace mrw {

using LineList = std::vector<std::string>;

// Empties `lines`, then fills them with the file's lines as UTF-8. True when the file was opened and
// read (also with no line). Any failure inside goes to the message line ("Read failed for '{}': {}")
// and gives false.
bool gf_readTextLines(int charset, const std::filesystem::path& path, LineList& lines);
// The same for the file's bytes already read: `path` only names the file in the failure's message.
bool gf_decodeTextLines(int charset, std::string_view bytes, const std::filesystem::path& path,
                        LineList& lines);
// Replaces `bytes` with the whole file's. False when the file cannot be opened or read.
bool gf_readFileBytes(const std::filesystem::path& path, std::string& bytes);

// Reads an open stream from start to end and appends its lines.
void gf_streamToLines(std::istream& in, LineList& lines);

// A file's path and its lines.
class TextFile {
  public:
    explicit TextFile(std::filesystem::path path) : m_path(std::move(path)) {}

    // Reads all lines (binary, as they are); the error text "open_failed" when the file cannot be opened.
    std::variant<const LineList*, std::string> readLines(std::size_t expectedLines = 0);

    const std::filesystem::path& path() const { return m_path; }
    const LineList& lines() const { return m_lines; }

  private:
    std::filesystem::path m_path;
    LineList m_lines;
};

// Writes the text and "\n", replacing the file. False when the file could not be written.
bool gf_writeTextLine(std::string_view text, const std::filesystem::path& path);
// Writes every line followed by "\n", replacing the file. False when the file could not be written.
bool gf_writeLines(const std::vector<std::string>& lines, const std::filesystem::path& path);
bool gf_writeLines(const std::list<std::string>& lines, const std::filesystem::path& path);

}  // namespace mrw

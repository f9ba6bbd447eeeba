#include "foundation/text_file.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/text_file_internal.h"
#include "foundation/window_model.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <list>

namespace mrw {
namespace {

using namespace std::string_literals;
using mrwtest::writeFile;

class TextFileTest : public ::testing::Test {
  protected:
    TextFileTest() { gf_openLog(); }
    ~TextFileTest() override {
        std::lock_guard lock(g_mainWindow().messageMutex);
        g_mainWindow().message.clear();
        g_mainWindow().messageSecond = 0;
    }
    std::string messageLine() {
        std::lock_guard lock(g_mainWindow().messageMutex);
        return g_mainWindow().message;
    }
    mrwtest::ProgramFolder folder;
};

TEST(Utf16ConversionTest, RoundTripsAndRejectsInvalidInput) {
    EXPECT_EQ(wide_to_utf8(u""), "");
    EXPECT_EQ(utf8_to_wide(""), u"");
    EXPECT_EQ(wide_to_utf8(u"A\u00e9\u20ac\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(utf8_to_wide("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00e9\u20ac\U0001F600");

    for (const std::u16string& bad : {u"\xD800"s, u"a\xDC00"s, u"\xD800x"s}) {
        EXPECT_THROW(
            try { wide_to_utf8(bad); } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "wide_to_utf8: invalid UTF-16");
                throw;
            },
            std::runtime_error);
    }
    for (const std::string& bad :
         {"\xFF"s, "\xC0\x80"s, "\xE0\x80\x80"s, "\xED\xA0\x80"s, "\xC3"s, "\xF4\x90\x80\x80"s}) {
        EXPECT_THROW(
            try { utf8_to_wide(bad); } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "utf8_to_wide: invalid UTF-8");
                throw;
            },
            std::runtime_error);
    }
}

// Runs of ASCII are judged several bytes at a time: each sequence is placed at every offset within
// and after such runs, and at the text's end.
TEST(Utf8ValidityTest, JudgesASequenceWhereverTheAsciiAroundItEnds) {
    const std::vector<std::pair<std::string, bool>> sequences{
        {"\xC3\xA9"s, true}, {"\xE2\x82\xAC"s, true}, {"\xF0\x9F\x98\x80"s, true},
        {"\xE9"s, false},    {"\xC0\x80"s, false},    {"\xF4\x90\x80\x80"s, false},
        {"\xC3"s, false},    {"\x80"s, false},        {"\x7F"s, true},
    };
    for (const auto& [sequence, valid] : sequences) {
        for (std::size_t before = 0; before <= 17; ++before) {
            for (std::size_t after : {0u, 1u, 7u, 8u, 9u}) {
                const std::string text = std::string(before, 'a') + sequence + std::string(after, 'b');
                EXPECT_EQ(gf_isValidUtf8(text), valid) << testing::PrintToString(text);
            }
        }
    }
    EXPECT_TRUE(gf_isValidUtf8(std::string(100, 'a')));
}

TEST(AnsiCodePageTest, MapsWindows1252BothWays) {
    EXPECT_EQ(gf_ansiToUtf8("\xE9\x80\x81"), "\xC3\xA9\xE2\x82\xAC\xC2\x81");
    EXPECT_EQ(gf_utf8ToAnsi("\xC3\xA9\xE2\x82\xAC"
                            "abc"),
              "\xE9\x80"
              "abc");
    EXPECT_THROW(gf_utf8ToAnsi("\xE4\xB8\xAD"), std::runtime_error);  // a CJK character
}

TEST(SplitLinesTest, CutsAtLineFeeds) {
    struct Case {
        std::string text;
        LineList lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBFx", {"x"}},
        {"a", {"a"}},
        {"a\r", {"a"}},
        {"a\r\r", {"a\r"}},
        {"a\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"\n\n", {"", ""}},
        {"a\r\nb\r\n", {"a", "b"}},
    };
    for (const Case& c : cases) {
        LineList lines;
        lf_splitLines(c.text, lines);
        EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.text);
    }
}

TEST_F(TextFileTest, DetectsAndReadsEveryCharset) {
    struct Case {
        std::string bytes;
        int charset;
        LineList lines;
    };
    const std::vector<Case> cases = {
        {"", kCharsetUtf8, {}},
        {"\xEF\xBB\xBFx\r\n", kCharsetUtf8Bom, {"x"}},
        {"\xEF\xBB\xBF\xEF\xBB\xBFxy\n", kCharsetUtf8Bom, {"xy"}},
        {"x\r\n", kCharsetUtf8, {"x"}},
        {"A\0B\0"s, kCharsetUtf16Le, {"AB"}},
        {"\0A\0B"s, kCharsetUtf16Be, {"AB"}},
        {"\xFF\xFE"
         "A\0\n\0B\0"s,
         kCharsetUtf16Le,
         {"A", "B"}},
        {"\xFE\xFF\0A\0\n\0B"s, kCharsetUtf16Be, {"A", "B"}},
        {"\xFF\xFE\0\0"s, kCharsetUtf16Le, {std::string("\0", 1)}},
        {"\xC3\xA9", kCharsetUtf8, {"\xC3\xA9"}},
        {"\xE9", kCharsetAnsi, {"\xC3\xA9"}},
        {"\xC0\x80", kCharsetAnsi, {"\xC3\x80\xE2\x82\xAC"}},
        {"\xE0\x80\x80", kCharsetAnsi, {"\xC3\xA0\xE2\x82\xAC\xE2\x82\xAC"}},
        {"\xF4\x90\x80\x80", kCharsetAnsi, {"\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}},
        {"\xED\xA0\x80", kCharsetUtf8, {"\xED\xA0\x80"}},
        {"ab\xC3", kCharsetAnsi, {"ab\xC3\x83"}},
        // A UTF-8 file with a Windows-1252 byte beyond the judged sample: only its line is converted.
        {std::string(4100, 'a') + "\n\xC3\xA9\n\xE9\n",
         kCharsetUtf8,
         {std::string(4100, 'a'), "\xC3\xA9", "\xC3\xA9"}},
    };
    for (const Case& c : cases) {
        const auto path = folder / "file.txt";
        writeFile(path, c.bytes);
        EXPECT_EQ(gf_detectCharset(path), c.charset) << testing::PrintToString(c.bytes);
        LineList lines{"stale"};
        EXPECT_TRUE(gf_readTextLines(c.charset, path, lines)) << testing::PrintToString(c.bytes);
        EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.bytes);
        // The same judgement and decoding of the bytes already read.
        EXPECT_EQ(gf_detectCharsetOfBytes(c.bytes), c.charset) << testing::PrintToString(c.bytes);
        LineList decoded{"stale"};
        EXPECT_TRUE(gf_decodeTextLines(c.charset, c.bytes, path, decoded)) << testing::PrintToString(c.bytes);
        EXPECT_EQ(decoded, c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST_F(TextFileTest, OddLengthUtf16GivesNoLine) {
    writeFile(folder / "odd.txt",
              "\xFF\xFE"
              "A\0B"s);
    LineList lines;
    EXPECT_TRUE(gf_readTextLines(kCharsetUtf16Le, folder / "odd.txt", lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(TextFileTest, OnlyTheSampleIsJudgedAndASequenceCutByItsLimitStaysUtf8) {
    const std::string a4095(4095, 'a');
    const std::vector<std::pair<std::string, int>> cases{
        {a4095 + "\xC3\xA9 tail", kCharsetUtf8},
        {a4095 + "\xE9x", kCharsetUtf8},  // cut by the limit
        {a4095 + "\xE9", kCharsetAnsi},   // cut by the file's end
        {a4095 + "a\xE9", kCharsetUtf8},  // beyond the sample
        {std::string(4094, 'a') + "\xE9"
                                  "bc",
         kCharsetAnsi},  // inside it
    };
    for (const auto& [text, charset] : cases) {
        writeFile(folder / "long.txt", text);
        EXPECT_EQ(gf_detectCharset(folder / "long.txt"), charset) << text.substr(4090);
        EXPECT_EQ(gf_detectCharsetOfBytes(text), charset) << text.substr(4090);
    }
}

TEST_F(TextFileTest, FailuresGoToTheMessageLine) {
    LineList lines;
    EXPECT_EQ(gf_detectCharset(folder / "missing.txt"), kCharsetNoneFound);
    EXPECT_FALSE(gf_readTextLines(kCharsetNoneFound, folder / "missing.txt", lines));
    const std::string missing = (folder / "missing.txt").string();
    EXPECT_EQ(messageLine(),
              "Read failed for '" + missing + "': file " + missing + " has unknown charset: none_found");
    EXPECT_NE(mrwtest::readFile(folder / "Log.txt").find("Read failed for '"), std::string::npos);

    writeFile(folder / "surrogate.txt", "\xFF\xFE\x00\xD8"s);
    EXPECT_FALSE(gf_readTextLines(kCharsetUtf16Le, folder / "surrogate.txt", lines));
    EXPECT_NE(messageLine().find("wide_to_utf8: invalid UTF-16"), std::string::npos);

    for (int charset : {kCharsetAnsi, kCharsetUtf16Le, kCharsetUtf16Be, kCharsetUtf8Bom, kCharsetUtf8}) {
        EXPECT_FALSE(gf_readTextLines(charset, folder / "missing.txt", lines)) << charset;
    }
}

TEST_F(TextFileTest, TextFileReadsLinesOrReportsOpenFailure) {
    writeFile(folder / "a.cfg", "x\r\ny\n");
    TextFile file(folder / "a.cfg");
    auto result = file.readLines(16);
    ASSERT_TRUE(std::holds_alternative<const LineList*>(result));
    EXPECT_EQ(*std::get<const LineList*>(result), (LineList{"x", "y"}));

    TextFile missing(folder / "none.cfg");
    auto failed = missing.readLines();
    ASSERT_TRUE(std::holds_alternative<std::string>(failed));
    EXPECT_EQ(std::get<std::string>(failed), "open_failed");
    EXPECT_TRUE(missing.lines().empty());
}

TEST_F(TextFileTest, WritersReplaceTheWholeFile) {
    const auto path = folder / "out.txt";
    writeFile(path, "old content that is longer");
    EXPECT_TRUE(gf_writeLines(std::vector<std::string>{"a", "b"}, path));
    EXPECT_EQ(mrwtest::readFile(path), "a\nb\n");
    EXPECT_TRUE(gf_writeLines(std::list<std::string>{}, path));
    EXPECT_EQ(mrwtest::readFile(path), "");
    EXPECT_TRUE(gf_writeTextLine("one", path));
    EXPECT_EQ(mrwtest::readFile(path), "one\n");
}

TEST_F(TextFileTest, FailedWriteLeavesTheTargetAsItWas) {
    const auto path = folder / "keep.txt";
    writeFile(path, "kept");
    EXPECT_FALSE(gf_writeLines(std::vector<std::string>{"x"}, folder / "no-such-folder" / "f.txt"));
    std::filesystem::create_directory(folder / "dir.txt");  // a folder cannot be replaced by a file
    EXPECT_FALSE(gf_writeTextLine("x", folder / "dir.txt"));
    EXPECT_EQ(mrwtest::readFile(path), "kept");
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    }
}

}  // namespace
}  // namespace mrw

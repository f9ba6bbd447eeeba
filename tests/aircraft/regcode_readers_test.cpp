#include "aircraft/regcode_readers.h"
#include "foundation/file_names.h"

#include "aircraft_test_support.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using mrw::RegcodeEntry;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kMeta = R"(<meta><info name="author" value="Merrowvale"/>
    <info name="copyright" value="Copyright (c) the Merrowvale developers"/><info name="sim" value="1"/></meta>)";

std::string aigDocument(const std::string& meta, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>" + meta + body + "</root>\n";
}

void expectEntry(const RegcodeEntry& entry, const std::string& title,
                 const std::vector<std::string>& regcodes, bool special) {
    EXPECT_EQ(entry.liveryTitle, title);
    EXPECT_EQ(std::vector<std::string>(entry.regcodes.begin(), entry.regcodes.end()), regcodes) << title;
    EXPECT_EQ(entry.special, special) << title;
}

class RegcodeReadersTest : public ::testing::Test {
  protected:
    bool aigFileExists() const { return fs::exists(folder / mrw::g_aigRegcodesXmlFile); }
    mrwtest::LoggedProgramFolder folder;
    std::vector<RegcodeEntry> entries;
};

TEST_F(RegcodeReadersTest, AigEntriesInDocumentOrderWithConsecutiveRepeatsDropped) {
    mrwtest::writeFile(folder / mrw::g_aigRegcodesXmlFile, aigDocument(kMeta, R"(<aig>
        <l t="KLM Boeing 737-800 PH-BXB" r=" PH-BXB , PH-BXA,PH-BXB" s="true"/>
        <l t="KLM Boeing 737-800 PH-BXB" r="PH-BXC"/>
        <l r="PH-BXD"/>
        <l t="Retro Livery"/>
        <l t="KLM Boeing 737-800 PH-BXB" r="PH-BXE" s="0"/>
        <other t="Not a livery"/>
    </aig>)"));

    EXPECT_FALSE(mrw::gf_readAigRegcodes(entries));  // the repeated title makes the result false

    ASSERT_EQ(entries.size(), 3u);
    expectEntry(entries[0], "KLM Boeing 737-800 PH-BXB", {"PH-BXA", "PH-BXB"}, true);
    expectEntry(entries[1], "Retro Livery", {}, false);                       // a don't-use title
    expectEntry(entries[2], "KLM Boeing 737-800 PH-BXB", {"PH-BXE"}, false);  // not consecutive: kept
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("==> Duplicate title 'KLM Boeing 737-800 PH-BXB' (same as previous)\n"));
    EXPECT_THAT(log, HasSubstr("\n    3 liveries read from AIG-regcodes.xml\n"));
    EXPECT_FALSE(aigFileExists());
}

TEST_F(RegcodeReadersTest, AigFailuresReturnFalseAndRemoveThePlainFile) {
    struct Case {
        std::string name;
        std::string text;
        std::string logLine;
    };
    const std::vector<Case> cases{
        {"not parsing", "<root><aig>",
         "==> Failed to load " + mrwtest::nativePath("input/AIG-regcodes.xml") + "\n"},
        {"no meta", aigDocument("", R"(<aig><l t="Title"/></aig>)"), ""},
        {"no sim entry", aigDocument(R"(<meta><info name="copyright" value="c"/></meta>)", "<aig/>"), ""},
        {"no aig", aigDocument(kMeta, R"(<liveries><l t="Title"/></liveries>)"),
         "==> No <aig> node found in XML.\n"},
    };
    for (const auto& c : cases) {
        mrwtest::writeFile(folder / mrw::g_aigRegcodesXmlFile, c.text);
        EXPECT_FALSE(mrw::gf_readAigRegcodes(entries)) << c.name;
        EXPECT_TRUE(entries.empty()) << c.name;
        EXPECT_FALSE(aigFileExists()) << c.name;
        if (!c.logLine.empty()) {
            EXPECT_THAT(folder.logText(), HasSubstr(c.logLine)) << c.name;
        }
    }
    EXPECT_THAT(folder.logText(), Not(HasSubstr("read from")));
}

TEST_F(RegcodeReadersTest, TextLinesGiveEntriesByTheirForm) {
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "a.txt",
                       "My Livery Title\n"
                       "Title 2;\n"
                       "abc;d\n"
                       "Title 3;PH-BXA\n"
                       "Title 4;PH-BXA;\n"
                       "Title 5;PH-BXA;#\n"
                       "Title 6; PH-BXB , PH-BXA\r\n"
                       "Title 7;PH-BXA,PH-BXB;#\n"
                       "Title 8;PH-BXA,PH-BXB;x\n"
                       "Title 9;PH-BXA,PH-BXA\n"
                       "Title 10;PH,PH-BXA\n"
                       "Title 11;PH,PH-BXA;#\n"
                       "Title 12;PH,EI\n"
                       "Title 13;PH\n"
                       "Title 14;PH-BXA;#;x\n"
                       "# Comment line\n"
                       "      \n"
                       "Title 15;ABCDEFGHIJKLM,ABC,ABCDEFGHIJKL\n");

    EXPECT_FALSE(mrw::gf_readRegcodeFiles(mrw::g_myRegcodesFolder, entries));

    ASSERT_EQ(entries.size(), 14u);
    expectEntry(entries[0], "My Livery Title", {}, false);
    expectEntry(entries[1], "Title 2", {}, false);
    expectEntry(entries[2], "Title 3", {"PH-BXA"}, true);  // one regcode: special
    expectEntry(entries[3], "Title 4", {"PH-BXA"}, true);
    expectEntry(entries[4], "Title 5", {"PH-BXA"}, true);
    expectEntry(entries[5], "Title 6", {"PH-BXA", "PH-BXB"}, false);
    expectEntry(entries[6], "Title 7", {"PH-BXA", "PH-BXB"}, true);
    expectEntry(entries[7], "Title 8", {"PH-BXA", "PH-BXB"}, false);
    expectEntry(entries[8], "Title 9", {"PH-BXA"}, true);  // the repeat leaves one code: special
    expectEntry(entries[9], "Title 10", {"PH-BXA"}, false);
    expectEntry(entries[10], "Title 11", {"PH-BXA"}, true);
    expectEntry(entries[11], "Title 12", {}, false);  // no code kept: a don't-use title
    expectEntry(entries[12], "# Comment line", {}, false);
    expectEntry(entries[13], "Title 15", {"ABC", "ABCDEFGHIJKL"}, false);
    const std::string log = folder.logText();
    const std::string file = mrwtest::nativePath("input/my_regcodes/a.txt");
    for (const char* code : {"PH", "EI", "ABCDEFGHIJKLM"}) {
        EXPECT_THAT(log, HasSubstr(fmt::format("==> wrong regcode length '{}' in {}\n", code, file)));
    }
    EXPECT_THAT(log, HasSubstr(fmt::format("\n   14 liveries read from {}\n", file)));
}

TEST_F(RegcodeReadersTest, EveryTxtFileOfTheFolderGetsItsCountLine) {
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "a.txt", "Title A1\nTitle A2;PH-BXA\nTitle A3\n");
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "B.Txt", "Title B1\nTitle B2\n");
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "c.TXT", "Title C1;PH-BXA,PH-BXB;#\n");
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "empty.txt", "");
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "d.csv", "Title D1\n");
    mrwtest::writeFile(folder / mrw::g_myRegcodesFolder / "sub.txt/e.txt", "Title E1\n");

    EXPECT_TRUE(mrw::gf_readRegcodeFiles(mrw::g_myRegcodesFolder, entries));

    std::vector<std::string> titles;
    for (const auto& entry : entries)
        titles.push_back(entry.liveryTitle);
    EXPECT_THAT(titles, ElementsAre("Title B1", "Title B2", "Title A1", "Title A2", "Title A3", "Title C1"));
    const std::string log = folder.logText();
    EXPECT_THAT(log, HasSubstr("\n    2 liveries read from " +
                               mrwtest::nativePath("input/my_regcodes/B.Txt") + "\n"));
    EXPECT_THAT(log, HasSubstr("\n    3 liveries read from " +
                               mrwtest::nativePath("input/my_regcodes/a.txt") + "\n"));
    EXPECT_THAT(
        log, HasSubstr("\n    1 livery read from " + mrwtest::nativePath("input/my_regcodes/c.TXT") + "\n"));
    EXPECT_THAT(log, HasSubstr("\n    0 liveries read from " +
                               mrwtest::nativePath("input/my_regcodes/empty.txt") + "\n"));
    EXPECT_THAT(log, Not(HasSubstr("d.csv")));
    EXPECT_THAT(log, Not(HasSubstr("e.txt")));
}

TEST_F(RegcodeReadersTest, MissingFolderIsReportedAndKeepsEarlierEntries) {
    entries.push_back({"Earlier", {}, false});
    EXPECT_FALSE(mrw::gf_readRegcodeFiles(folder / "no_such_folder", entries));
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_THAT(folder.logText(), HasSubstr("==> Error reading regcode files in " +
                                            (folder / "no_such_folder").string() + ", what: "));
}

}  // namespace

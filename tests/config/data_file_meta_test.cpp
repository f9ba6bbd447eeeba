#include "config/data_file_meta.h"

#include "foundation/clock.h"
#include "foundation/log.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

namespace mrw {
namespace {

DataFileMeta lf_meta(const char* version, int sim) {
    DataFileMeta meta;
    meta.version = version;
    meta.sim = sim;
    return meta;
}

class DataFileMetaTest : public ::testing::Test {
  protected:
    DataFileMetaTest() {
        gf_setWallClockForTests([] { return 1796775995; });  // Wed Dec 09 00:26:35 2026
        gf_openLog();
    }
    ~DataFileMetaTest() override { gf_setWallClockForTests({}); }

    static std::optional<DataFileMeta> read(const char* xml, bool waiveSim) {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(xml)) << xml;
        return gf_readMeta(document, waiveSim);
    }
    std::string log() const { return mrwtest::readFile(folder / "Log.txt"); }

    mrwtest::ProgramFolder folder;
};

TEST_F(DataFileMetaTest, WritesTheFiveEntriesInOrderUnderRoot) {
    pugi::xml_document document;
    ASSERT_TRUE(gf_writeMeta(document, lf_meta("12.6.0", 2)));
    std::ostringstream text;
    document.save(text, "", pugi::format_raw | pugi::format_no_declaration);
    EXPECT_EQ(text.str(),
              "<root><meta>"
              "<info name=\"author\" value=\"Merrowvale\"/>"
              "<info name=\"version\" value=\"12.6.0\"/>"
              "<info name=\"date\" value=\"Dec 09, 2026\"/>"
              "<info name=\"copyright\" value=\"" +
                  std::string(kCopyrightText) +
                  "\"/>"
                  "<info name=\"sim\" value=\"2\"/>"
                  "</meta></root>");

    const std::optional<DataFileMeta> meta = gf_readMeta(document, false);
    ASSERT_TRUE(meta);
    EXPECT_EQ(meta->author, "Merrowvale");
    EXPECT_EQ(meta->version, "12.6.0");
    EXPECT_EQ(meta->date, "Dec 09, 2026");
    EXPECT_EQ(meta->sim, 2);
}

TEST_F(DataFileMetaTest, SecondWriteAddsASecondMetaAndReadersUseTheFirst) {
    pugi::xml_document document;
    document.append_child("root").append_child("stands");
    ASSERT_TRUE(gf_writeMeta(document, lf_meta("1.0.0", 1)));
    ASSERT_TRUE(gf_writeMeta(document, lf_meta("2.0.0", 2)));
    EXPECT_EQ(std::distance(document.child("root").children("meta").begin(),
                            document.child("root").children("meta").end()),
              2);
    const std::optional<DataFileMeta> meta = gf_readMeta(document, false);
    ASSERT_TRUE(meta);
    EXPECT_EQ(meta->version, "1.0.0");
    EXPECT_EQ(meta->sim, 1);
}

TEST_F(DataFileMetaTest, ReaderAcceptsOnlyACopyrightAndASimulator) {
    struct Case {
        const char* xml;
        bool waiveSim;
        std::optional<int> sim;  // nothing: the file is refused
    };
    const Case cases[] = {
        {"<root/>", true, std::nullopt},
        {"<root><meta/></root>", true, std::nullopt},
        {R"(<root><meta><info name="sim" value="1"/></meta></root>)", false, std::nullopt},
        {R"(<root><meta><info name="copyright" value="c"/><info name="sim" value="2"/></meta></root>)", false,
         2},
        {R"(<root><meta><info name="copyright" value="c"/><info name="P3D" value="v4"/></meta></root>)",
         false, -1},
        {R"(<root><meta><info name="copyright" value="c"/><info name="MSFS" value="x"/></meta></root>)",
         false, -1},
        {R"(<root><meta><info name="copyright" value="c"/></meta></root>)", false, std::nullopt},
        {R"(<root><meta><info name="copyright" value="c"/></meta></root>)", true, -1},
        // Order does not matter; a name differing only in case is another entry.
        {R"(<root><meta><info name="sim" value="1"/><info name="copyright" value="c"/></meta></root>)", false,
         1},
        {R"(<root><meta><info name="Copyright" value="c"/><info name="sim" value="1"/></meta></root>)", false,
         std::nullopt},
        // A sim entry without a value, or with no number, is sim 0 and still names a simulator.
        {R"(<root><meta><info name="copyright" value="c"/><info name="sim"/></meta></root>)", false, 0},
        {R"(<root><meta><info name="copyright" value="c"/><info name="sim" value="abc"/></meta></root>)",
         false, 0},
        // The first of repeated entries counts; an empty repeat of the copyright is skipped.
        {R"(<root><meta><info name="copyright" value="c"/><info name="copyright" value=""/>)"
         R"(<info name="sim" value="2"/><info name="sim" value="1"/></meta></root>)",
         false, 2},
        // Without root the meta element is looked for at the top; unnamed entries are skipped.
        {R"(<meta><info value="x"/><info name="copyright" value="c"/><info name="sim" value="1"/></meta>)",
         false, 1},
    };
    for (const Case& c : cases) {
        const std::optional<DataFileMeta> meta = read(c.xml, c.waiveSim);
        ASSERT_EQ(meta.has_value(), c.sim.has_value()) << c.xml;
        if (meta) {
            EXPECT_EQ(meta->sim, *c.sim) << c.xml;
        }
    }
    EXPECT_EQ(log().find("==> "), std::string::npos) << "none of these is logged";
}

TEST_F(DataFileMetaTest, ReaderKeepsTheTextEntries) {
    const std::optional<DataFileMeta> meta =
        read(R"(<root><meta><info name="author" value="a"/><info name="version" value="1.2.3"/>)"
             R"(<info name="date" value="d"/><info name="copyright" value="c"/><info name="P3D" value="p"/>)"
             R"(<info name="MSFS" value="m"/><info name="author" value="second"/></meta></root>)",
             false);
    ASSERT_TRUE(meta);
    EXPECT_EQ(meta->author, "a");
    EXPECT_EQ(meta->version, "1.2.3");
    EXPECT_EQ(meta->date, "d");
    EXPECT_EQ(meta->P3D, "p");
    EXPECT_EQ(meta->MSFS, "m");
    EXPECT_EQ(meta->sim, -1);
}

TEST_F(DataFileMetaTest, EmptyCopyrightIsLoggedAndRefused) {
    for (const char* xml :
         {R"(<root><meta><info name="copyright" value=""/><info name="copyright" value="c"/>)"
          R"(<info name="sim" value="1"/></meta></root>)",
          R"(<root><meta><info name="sim" value="1"/><info name="copyright"/></meta></root>)"}) {
        EXPECT_FALSE(read(xml, true)) << xml;
    }
    EXPECT_EQ(mrwtest::readLines(folder / "Log.txt").size(), 3U);
    EXPECT_NE(log().find("\n==> no copyright info in the file?\n==> no copyright info in the file?\n"),
              std::string::npos)
        << log();
}

}  // namespace
}  // namespace mrw
